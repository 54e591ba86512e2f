// The target that compiles a precompiled header set once for the others to reuse.
