#pragma once
// What the storage holding an archive allows, answered by each storage (Connection) so that
// the layers above ask instead of deciding from where the archive is.

namespace dao {

struct StorageCapabilities {
    // A new password rewrites the whole archive, which nobody else may have open meanwhile
    // (a file); a server changes its role's password while the others work on.
    bool passwordChangeNeedsExclusive = true;
    // The archive may be left without password (a file); a server's role cannot log in from
    // the network without one.
    bool emptyPasswordAllowed = true;
    // The program compacts and repairs the archive, keeping a copy first (a file); a server
    // keeps its own storage and its own copies.
    bool compactionApplies = true;
};

} // namespace dao
