// Prints the size of a link to an evening and the QR code version it needs:
// the payload, the payload compressed as the browser compresses it (zlib's
// deflate at its default level, in zlib's format), the link on a 32-character
// address, and the smallest QR code (error correction M, byte mode) that
// holds it.

#include <zlib.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "model/evening.h"
#include "storage/link_fragment.h"
#include "storage/text.h"
#include "ui/party_link.h"

namespace {

constexpr std::size_t kAddress = 32;  // https://tally-share.example.org/

// Bytes a QR code of versions 1 to 40 holds in byte mode at error
// correction M.
constexpr std::array<int, 40> kQrBytesM{14,   26,   42,   62,   84,   106,  122,  152,  180,  213,
                                        251,  287,  331,  362,  412,  450,  504,  560,  624,  666,
                                        711,  779,  857,  911,  997,  1059, 1125, 1190, 1264, 1370,
                                        1452, 1538, 1628, 1722, 1809, 1911, 1989, 2099, 2213, 2331};

int qrVersion(std::size_t bytes) {
    for (std::size_t v = 0; v < kQrBytesM.size(); ++v) {
        if (bytes <= static_cast<std::size_t>(kQrBytesM[v])) {
            return static_cast<int>(v) + 1;
        }
    }
    return 0;
}

std::string deflated(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        return {};
    }
    out.resize(size);
    return out;
}

struct GroupSpec {
    const char16_t* name;
    std::int32_t people, ratio, advance;
};

// The README's five groups, and five more like them.
const std::vector<GroupSpec> kGroups{
    {u"幹事チーム", 1, 100, 0},    {u"ゲスト 田中", 2, 90, 1500}, {u"営業部 佐藤", 3, 80, 3000},
    {u"経理 鈴木", 4, 100, 4500},  {u"新人 高橋", 1, 120, 6000},  {u"総務 山本", 2, 100, 0},
    {u"開発 中村", 3, 100, 2000},  {u"広報 小林", 1, 80, 0},      {u"人事 加藤", 2, 100, 1000},
    {u"役員 吉田", 1, 150, 10000},
};

// `rounds` rounds of the first `groups` groups: the first as above, each
// later one added as the program adds it (advances 0), one person fewer in
// one group, a total of its own, calculated to the unit.
ts::Evening makeEvening(int rounds, int groups) {
    ts::Evening evening = ts::Evening::create();
    ts::Party& first = evening.party();
    first.total = 21605;
    first.unit = 1000;
    for (int i = 0; i < groups; ++i) {
        auto group = ts::Group::create(kGroups[static_cast<std::size_t>(i)].name);
        group->people = kGroups[static_cast<std::size_t>(i)].people;
        group->ratio = kGroups[static_cast<std::size_t>(i)].ratio;
        group->advance = kGroups[static_cast<std::size_t>(i)].advance;
        first.addGroup(std::move(group));
    }
    evening.current().calculation = ts::Calculation::Rounded;
    for (int r = 1; r < rounds; ++r) {
        evening.addRound();
        evening.party().total = 12000 - 3000 * r;
        ts::Group& fewer = *evening.party().groupAt(2);
        fewer.people = fewer.people > 1 ? fewer.people - 1 : 1;
        evening.current().calculation = ts::Calculation::Rounded;
    }
    evening.recalculateAll();
    return evening;
}

void print(const char* what, const ts::Evening& evening) {
    const ts::ui::LinkPayload link = ts::ui::eveningLinkPayload(evening);
    const std::string data = deflated(link.payload);
    const std::size_t characters = kAddress + 1 + ts::linkFragment(data, link.format).size();
    std::printf("| %-34s | %c | %4zu bytes | %4zu bytes | %4zu characters | %2d |\n", what,
                link.format, link.payload.size(), data.size(), characters, qrVersion(characters));
}

}  // namespace

int main() {
    std::printf("| evening | format | payload | deflated | link | QR version (M) |\n");
    std::printf("| --- | --- | ---: | ---: | ---: | ---: |\n");
    print("1 round of 5 groups", makeEvening(1, 5));
    print("2 rounds of 5 groups", makeEvening(2, 5));
    ts::Evening settled = makeEvening(2, 5);
    settled.organiser = ts::MemberKey{u"幹事チーム", 1};
    settled.payee = u"PayPay ID: kanji-team";
    settled.marks[ts::MemberKey{u"ゲスト 田中", 1}] = ts::Mark{4000, -4000};
    settled.marks[ts::MemberKey{u"営業部 佐藤", 2}] = ts::Mark{2000, -5000};
    print("2 x 5, organiser, 支払先, 2 marks", settled);
    print("3 rounds of 10 groups", makeEvening(3, 10));
    return 0;
}
