#pragma once
// What the archive connection needs of a table dataset that registered itself as open:
// the connection closes every registered table when it disconnects.

class TArcOpenTable {
public:
    virtual ~TArcOpenTable() = default;
    // The mark tells the closing table not to look itself up in the connection's list.
    virtual void setClosingForDisconnect(bool closing) = 0;
    virtual void closeForDisconnect() = 0;
    // The connection became read-only: the table refuses changes from now on.
    virtual void forceReadOnly() = 0;
};
