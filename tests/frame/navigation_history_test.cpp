#include "frame/navigation_history.h"

#include <gtest/gtest.h>

#include <string>

namespace tarn {
namespace {

using platform::ItemIdList;

ItemIdList place(const std::string& name) {
    ItemIdList list = ItemIdList::fromElement("Home");
    list.append(name);
    return list;
}

TEST(NavigationHistory, StartsEmptyWithNothingToGoTo) {
    NavigationHistory h;
    EXPECT_EQ(h.current(), nullptr);
    EXPECT_FALSE(h.canGoBack());
    EXPECT_FALSE(h.canGoForward());
    EXPECT_EQ(h.back(), nullptr);
    EXPECT_EQ(h.forward(), nullptr);
    h.record(place("A"), 0);
    // The first place is current, with nothing behind it.
    ASSERT_NE(h.current(), nullptr);
    EXPECT_EQ(h.current()->list, place("A"));
    EXPECT_FALSE(h.canGoBack());
    EXPECT_EQ(h.back(), nullptr);
    EXPECT_EQ(h.current()->list, place("A"));
}

TEST(NavigationHistory, BackForwardAndANewVisitForgetsThePlacesAhead) {
    NavigationHistory h;
    h.record(place("A"), 0);
    h.record(place("B"), 0);
    h.record(place("C"), 0);
    EXPECT_EQ(h.back()->list, place("B"));
    const HistoryEntry* e = h.back();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->list, place("A"));
    EXPECT_FALSE(h.canGoBack());
    EXPECT_EQ(h.forwardCount(), 2u);
    EXPECT_EQ(h.forward()->list, place("B"));
    EXPECT_TRUE(h.canGoForward());
    h.record(place("D"), 0);
    EXPECT_FALSE(h.canGoForward());
    EXPECT_EQ(h.forward(), nullptr);
    EXPECT_EQ(h.current()->list, place("D"));
    EXPECT_EQ(h.back()->list, place("B"));
    EXPECT_EQ(h.back()->list, place("A"));
    EXPECT_EQ(h.back(), nullptr);
    // Forward walks the same way back up; C is gone.
    EXPECT_EQ(h.forward()->list, place("B"));
    EXPECT_EQ(h.forward()->list, place("D"));
    EXPECT_EQ(h.forward(), nullptr);
}

TEST(NavigationHistory, KeepsAHundredPlacesBehind) {
    NavigationHistory h;
    for (int i = 0; i < 102; ++i) {
        h.record(place(std::to_string(i)), 0);
    }
    EXPECT_EQ(h.backCount(), NavigationHistory::kCapacity);
    int steps = 0;
    while (h.back() != nullptr) {
        ++steps;
    }
    EXPECT_EQ(steps, 100);
    // Visit 0 was dropped; 1 is the oldest kept.
    ASSERT_NE(h.current(), nullptr);
    EXPECT_EQ(h.current()->list, place("1"));
    EXPECT_EQ(h.forwardCount(), 100u);
    int forward = 0;
    while (h.forward() != nullptr) {
        ++forward;
    }
    EXPECT_EQ(forward, 100);
    EXPECT_EQ(h.current()->list, place("101"));
}

TEST(NavigationHistory, RecordAtFullCapacityAfterBackKeepsOrder) {
    NavigationHistory h;
    for (int i = 0; i < 101; ++i) {
        h.record(place(std::to_string(i)), 0);
    }
    // Full behind; go back one, then branch: the place ahead goes, nothing is lost behind.
    EXPECT_EQ(h.back()->list, place("99"));
    h.record(place("X"), 0);
    EXPECT_EQ(h.backCount(), 100u);
    EXPECT_FALSE(h.canGoForward());
    EXPECT_EQ(h.back()->list, place("99"));
    EXPECT_EQ(h.back()->list, place("98"));
}

TEST(NavigationHistory, EntriesRememberTheirTree) {
    NavigationHistory h;
    h.record(place("A"), 0);
    h.record(place("Fav"), 1);
    h.record(place("B"), 0);
    EXPECT_EQ(h.back()->source, 1);
    EXPECT_EQ(h.back()->source, 0);
    EXPECT_EQ(h.forward()->source, 1);
    // The Desktop's empty list is a place like any other.
    h.record(ItemIdList{}, 0);
    EXPECT_TRUE(h.current()->list.empty());
    EXPECT_EQ(h.back()->list, place("Fav"));
}

TEST(NavigationHistory, ClearForgetsEverything) {
    NavigationHistory h;
    h.record(place("A"), 0);
    h.record(place("B"), 0);
    h.back();
    h.clear();
    EXPECT_EQ(h.current(), nullptr);
    EXPECT_FALSE(h.canGoBack());
    EXPECT_FALSE(h.canGoForward());
    h.record(place("C"), 1);
    EXPECT_FALSE(h.canGoBack());
    EXPECT_EQ(h.current()->source, 1);
}

}  // namespace
}  // namespace tarn
