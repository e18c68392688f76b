// Loads arbitrary bytes as a settings file, then checks that saving the
// loaded party and loading that file again gives the same party, and that a
// second save writes the same bytes. Only a name too long for its record may
// come back shortened. The same bytes are then read as an evening: what is
// saved of it is read back whole, as the same evening, and saved again the
// same.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>

#include "model/evening.h"
#include "model/group.h"
#include "model/party.h"
#include "storage/evening_file.h"
#include "storage/field_splitter.h"
#include "storage/settings_file.h"
#include "storage/text.h"
#include "storage/text_file.h"

namespace {

constexpr std::size_t kMaxRecord = 255;  // units per record line, line feed included

ts::SaveDate fixedDate() {
    return ts::SaveDate{2024, 3, 5};
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "settings_fuzz: %s\n", what);
        std::abort();
    }
}

// A scratch folder, on tmpfs when there is one (saves flush to disk).
class Scratch {
public:
    Scratch() {
        std::error_code error;
        const std::filesystem::path shm("/dev/shm");
        const std::filesystem::path base = std::filesystem::is_directory(shm, error)
                                               ? shm
                                               : std::filesystem::temp_directory_path(error);
        check(!error, "no temporary folder");
        const auto seed = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path candidate =
                base / ("ts-fuzz-" + std::to_string(seed % 1000000007ull + attempt));
            if (std::filesystem::create_directory(candidate, error) && !error) {
                path_ = candidate;
            }
        }
        check(!path_.empty(), "no scratch folder");
    }
    ~Scratch() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    std::filesystem::path file(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Units the name takes inside its quotes: quote characters are doubled.
std::size_t quotedWidth(const std::u16string& name) {
    std::size_t width = 0;
    for (const char16_t unit : name) {
        width += ts::FieldSplitter::isQuote(unit) ? 2 : 1;
    }
    return width;
}

// The name as the file gives it back: whole when it fits in `room` units,
// otherwise a shorter prefix that fits.
void checkName(const std::u16string& saved, const std::u16string& loaded, std::size_t room) {
    if (quotedWidth(saved) <= room) {
        check(loaded == saved, "name changed");
    } else {
        check(loaded.size() < saved.size() && saved.compare(0, loaded.size(), loaded) == 0,
              "shortened name is not a prefix");
        check(quotedWidth(loaded) <= room, "shortened name does not fit");
        check(quotedWidth(loaded) + 2 >= room, "name shortened more than needed");
    }
}

std::size_t digits(std::int32_t value) {
    return ts::decimalText(value).size();
}

// The shape of an evening and its numbers; names may be shortened by a save.
std::string shapeOf(const ts::Evening& evening) {
    std::string shape = std::to_string(evening.currentIndex()) + "/" +
                        std::to_string(evening.marks.size()) + "/" +
                        (evening.organiser ? std::to_string(evening.organiser->member) : "-");
    for (int r = 0; r < evening.roundCount(); ++r) {
        const ts::Round& round = *evening.roundAt(r);
        const ts::Party& party = *round.party;
        shape += " " + std::to_string(static_cast<int>(round.calculation)) + ":" +
                 std::to_string(party.total) + ":" + std::to_string(party.unit);
        for (int g = 0; g < party.groupCount(); ++g) {
            const ts::Group& group = *party.groupAt(g);
            shape += ":" + std::to_string(group.people) + "," + std::to_string(group.ratio) + "," +
                     std::to_string(group.advance);
        }
    }
    for (const auto& [key, mark] : evening.marks) {
        shape += " " + std::to_string(key.member) + "," + std::to_string(mark.amount) + "," +
                 std::to_string(mark.figure);
    }
    return shape;
}

void checkEvening(const Scratch& scratch, const std::filesystem::path& in) {
    ts::Evening first = ts::Evening::create();
    check(ts::loadFromPath(in.u16string(), first), "load of the input as an evening failed");
    const std::u16string out = scratch.file("evening.cfg").u16string();
    check(ts::saveToPath(out, first), "evening save failed");

    ts::Evening second = ts::Evening::create();
    {
        ts::TextFile file;
        check(file.open(out, u'R'), "saved evening cannot be opened");
        check(ts::readEvening(file, second) == ts::EveningReading::Read,
              "saved evening is not read whole");
    }
    check(second.roundCount() == first.roundCount(), "round count changed");
    check(second.payee.size() <= first.payee.size(), "payee grew");
    // Marks the reader would refuse are not written; the rest come back.
    if (first.marks.size() == second.marks.size()) {
        check(shapeOf(second) == shapeOf(first), "evening changed");
    }

    const std::u16string again = scratch.file("evening-again.cfg").u16string();
    check(ts::saveToPath(again, second), "second evening save failed");
    check(readBytes(scratch.file("evening.cfg")) == readBytes(scratch.file("evening-again.cfg")),
          "second evening save wrote other bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    ts::setSaveDateSource(&fixedDate);
    const std::filesystem::path in = scratch.file("in.cfg");
    {
        std::ofstream out(in, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        check(out.good(), "cannot write the input file");
    }

    auto first = ts::Party::create(u"FIRST");
    check(ts::loadFromPath(in.u16string(), *first), "load of the input failed");

    const std::u16string out = scratch.file("out.cfg").u16string();
    check(ts::saveToPath(out, *first), "save failed");
    auto second = ts::Party::create(u"FIRST");
    check(ts::loadFromPath(out, *second), "load of the saved file failed");

    // PEOPLE,"name",total,unit,2024/3/5 and GROUP,"name",people,ratio,advance
    const std::size_t peopleRoom =
        kMaxRecord - 9 - (3 + digits(first->total) + digits(first->unit) + 8 + 1);
    checkName(first->name(), second->name(), peopleRoom);
    check(second->total == first->total && second->unit == first->unit, "party numbers changed");
    check(second->groupCount() == first->groupCount(), "group count changed");
    for (int i = 0; i < first->groupCount(); ++i) {
        const ts::Group& a = *first->groupAt(i);
        const ts::Group& b = *second->groupAt(i);
        const std::size_t groupRoom =
            kMaxRecord - 8 - (4 + digits(a.people) + digits(a.ratio) + digits(a.advance));
        checkName(a.name(), b.name(), groupRoom);
        check(a.people == b.people && a.ratio == b.ratio && a.advance == b.advance,
              "group numbers changed");
    }

    // What was read back is written back unchanged.
    const std::u16string again = scratch.file("again.cfg").u16string();
    check(ts::saveToPath(again, *second), "second save failed");
    check(readBytes(scratch.file("out.cfg")) == readBytes(scratch.file("again.cfg")),
          "second save wrote other bytes");

    checkEvening(scratch, in);
    return 0;
}
