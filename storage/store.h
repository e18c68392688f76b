#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Where the settings file is kept between runs, as its bytes: the program
// hands the store the bytes the settings writer made (settingsFileBytes) and
// gives the reader the bytes the store holds, whatever keeps them: a file
// replaced crash-safely on the desktops, IndexedDB in a browser
// (storage/web/store.h), memory for a party only shown.
namespace ts {

class Store {
public:
    enum class Reading { Read, Missing, Unreadable };
    // Whether a settings file's bytes hold records this program does not
    // read (settings_file.h: holdsUnreadRecords). At the start it may read
    // them into the program's own party as it answers, so that they are
    // read once.
    using UnreadCheck = std::function<bool(std::string_view bytes)>;

    virtual ~Store() = default;

    // The stored file's bytes, read at the start: Missing (and `bytes`
    // empty) when there is none, Unreadable when there is one that cannot
    // be read now.
    Reading load(std::string& bytes, const UnreadCheck& holdsUnread);
    // Replaces the stored file by `bytes`; false when they were not stored
    // whole (the stored file is then as it was).
    //
    // What the store held before is read once, by load() or else by the
    // first save. A file holding records this program does not read is kept
    // as the store's copy (ts.cfg.bak) before the first save replaces it;
    // if that copy cannot be made, nothing is replaced. A file that load()
    // could not read is never replaced: the program does not hold what it
    // had.
    bool save(std::string_view bytes, const UnreadCheck& holdsUnread);

    // Where the bytes are, for a message that names it (a path).
    virtual std::u16string where() const = 0;

protected:
    // What the store holds, as load() describes it.
    virtual Reading readBytes(std::string& bytes) = 0;
    // Replaces what the store holds by `bytes`, whole or not at all.
    virtual bool writeBytes(std::string_view bytes) = 0;
    // Keeps `bytes` beside what the store holds, as the copy of a file that
    // is about to be replaced, whole or not at all.
    virtual bool keepCopy(std::string_view bytes) = 0;

private:
    enum class Previous { NotRead, NothingToKeep, ToKeep, NotOurs };

    // Learns what the store holds; false when that cannot be done now.
    bool learnPrevious(const UnreadCheck& holdsUnread);

    Previous previous_ = Previous::NotRead;
    std::string toKeep_;  // Previous::ToKeep: the bytes to keep as the copy
};

// A file on the disk, replaced crash-safely (storage/export_file.h); its
// copy is `path`.bak beside it.
class FileStore final : public Store {
public:
    explicit FileStore(std::u16string path) : path_(std::move(path)) {}
    std::u16string where() const override { return path_; }

protected:
    Reading readBytes(std::string& bytes) override;
    bool writeBytes(std::string_view bytes) override;
    bool keepCopy(std::string_view bytes) override;

private:
    std::u16string path_;
};

// Bytes in memory for as long as the program runs: a party shown without
// being kept on the device (someone else's, opened from a link).
class MemoryStore final : public Store {
public:
    explicit MemoryStore(std::string bytes = {}) : bytes_(std::move(bytes)) {}
    std::u16string where() const override { return u"memory"; }
    const std::string& bytes() const { return bytes_; }
    const std::string& copy() const { return copy_; }

protected:
    Reading readBytes(std::string& bytes) override;
    bool writeBytes(std::string_view bytes) override;
    bool keepCopy(std::string_view bytes) override;

private:
    std::string bytes_;
    std::string copy_;
};

}  // namespace ts
