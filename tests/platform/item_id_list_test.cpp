#include "platform/item_id_list.h"

#include <gtest/gtest.h>

namespace tarn::platform {
namespace {

TEST(ItemIdListTest, SerialFormRoundTripsAndMatchesTheRecordLayout) {
    ItemIdList id;
    ASSERT_TRUE(id.append("H"));
    ASSERT_TRUE(id.append("NPictures"));
    ASSERT_TRUE(id.append(std::string(300, 'x')));

    const std::string serial = id.serialize();
    // First element: count 3 (two count bytes + "H"), little endian.
    EXPECT_EQ(serial.substr(0, 3), std::string("\x03\x00H", 3));
    // The chain ends with a 16-bit zero.
    EXPECT_EQ(serial.substr(serial.size() - 2), std::string(2, '\0'));
    // 300-byte element: count 302 = 0x012E.
    EXPECT_EQ(serial.substr(3 + 11, 2), std::string("\x2E\x01", 2));

    const auto parsed = ItemIdList::parse(serial + "trailing");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->first, id);
    EXPECT_EQ(parsed->second, serial.size());
    EXPECT_EQ(parsed->first.elementCount(), 3u);
    EXPECT_EQ(parsed->first.elements()[1], "NPictures");

    const auto desktop = ItemIdList::parse(std::string(2, '\0'));
    ASSERT_TRUE(desktop);
    EXPECT_TRUE(desktop->first.empty());
}

TEST(ItemIdListTest, DamagedSerialFormsAreRejected) {
    ItemIdList id;
    id.append("H");
    id.append("Nabc");
    const std::string serial = id.serialize();
    for (std::size_t cut = 0; cut < serial.size(); ++cut) {
        EXPECT_FALSE(ItemIdList::parse(serial.substr(0, cut))) << "cut at " << cut;
    }
    // A count of one cannot even cover itself.
    EXPECT_FALSE(ItemIdList::parse(std::string("\x01\x00\x00\x00", 4)));
    // A count running past the data.
    EXPECT_FALSE(
        ItemIdList::parse(std::string("\xFF\x00"
                                      "abc\x00\x00",
                                      7)));
}

TEST(ItemIdListTest, JoinParentAndLast) {
    ItemIdList folder;
    folder.append("H");
    folder.append("Na");
    const ItemIdList child = ItemIdList::fromElement("Nb");
    const ItemIdList joined = folder.joined(child);
    EXPECT_EQ(joined.elementCount(), 3u);
    EXPECT_EQ(joined.parent(), folder);
    EXPECT_EQ(joined.last(), child);
    EXPECT_EQ(joined.lastElement(), "Nb");
    EXPECT_TRUE(ItemIdList().parent().empty());
    EXPECT_FALSE(ItemIdList().append(std::string(ItemIdList::kMaxElementSize + 1, 'x')));
}

}  // namespace
}  // namespace tarn::platform
