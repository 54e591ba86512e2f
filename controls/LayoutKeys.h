#pragma once
// The seam between controls that keep a layout and the layout store that keeps the file.
// The store opens its file, hands it to each linked control as LayoutKeys, and closes it
// again; a control only reads, writes and erases keys of its own section.

#include <QString>
#include <optional>

// One open layout file: sections of key=value texts.
class LayoutKeys {
public:
    virtual ~LayoutKeys() = default;
    // The value of a key; nothing when the key (or its section) is missing.
    virtual std::optional<QString> read(const QString &section, const QString &key) const = 0;
    virtual void write(const QString &section, const QString &key, const QString &value) = 0;
    virtual void eraseSection(const QString &section) = 0;
};

// A control whose layout the store keeps (a data grid).
class LayoutClient {
public:
    virtual ~LayoutClient() = default;
    virtual void saveLayout(LayoutKeys &keys) = 0;
    virtual void loadLayout(LayoutKeys &keys) = 0;
    // The store is going away: the control forgets it without calling back.
    virtual void layoutStorageGone() = 0;
};

// The layout store as the controls see it: they link and unlink themselves, and put the
// store's own section name, when it has one, before their section.
class LayoutStorage {
public:
    virtual ~LayoutStorage() = default;
    virtual QString storageSection() const = 0;
    virtual void linkClient(LayoutClient *client) = 0;     // in link order
    virtual void unlinkClient(LayoutClient *client) = 0;
};
