#pragma once

#include <string>
#include <string_view>

namespace ts {

class Party;
class TextFile;

// Base of everything that is stored in the settings file. The two virtual
// operations write and read an object's records; a bare Entry does nothing.
// Destruction is deliberately not virtual: an Entry is never destroyed
// through a base pointer, so the destructor is protected.
class Entry {
public:
    explicit Entry(std::u16string name) : name_(std::move(name)) {}

    virtual void save(TextFile& file);
    virtual void load(TextFile& file);

    const std::u16string& name() const { return name_; }
    void setName(std::u16string_view name) { name_.assign(name); }

    // The party that owns this entry; null for a party and for a group that
    // has not been added yet. Nothing in the program depends on it.
    Party* parent() const { return parent_; }

protected:
    ~Entry() = default;
    Entry(const Entry&) = default;
    Entry& operator=(const Entry&) = default;

private:
    friend class Party;
    std::u16string name_;
    Party* parent_ = nullptr;
};

}  // namespace ts
