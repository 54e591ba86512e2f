// The program that compiles the test programs' precompiled header set once for them to reuse.
int main()
{
    return 0;
}
