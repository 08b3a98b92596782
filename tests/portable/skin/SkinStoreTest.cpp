#include <gtest/gtest.h>

#include "skin/stored/SkinSettingValue.h"
#include "skin/stored/SkinStore.h"
#include "skin/stored/SkinStreamProperty.h"

namespace {

void Fill(TMemoryStream& stream, const std::string& text) {
    stream.Clear();
    stream.WriteBuffer(text.data(), text.size());
}

TEST(SkinStore, ItemsAreNamedAfterTheirIdsAndNamesStayUnique) {
    TSkinStore store;
    TSkinCollection& items = store.Store();
    EXPECT_EQ(items.Owner(), &store);
    TSkinCollectionItem& first = items.Add();
    TSkinCollectionItem& second = items.Add();
    EXPECT_EQ(first.Name(), "SkinItem0");
    EXPECT_EQ(second.Name(), "SkinItem1");
    EXPECT_EQ(second.DisplayName(), "SkinItem1");
    EXPECT_EQ(first.SkinData(), "Load Skin");
    first.SetSkinData("anything");
    EXPECT_EQ(first.SkinData(), "Load Skin");

    second.SetName("SkinItem1");  // its own name: nothing happens
    try {
        second.SetName("SkinItem0");
        FAIL() << "a duplicate name was accepted";
    } catch (const ESkinStoreError& error) {
        EXPECT_STREQ(error.what(), "The name SkinItem0 is already used.");
    }
    EXPECT_EQ(second.Name(), "SkinItem1");
    second.SetName("skinitem0");  // names compare case-sensitively
    EXPECT_EQ(second.Name(), "skinitem0");

    // IDs keep counting after a deletion, so a new item never repeats a name.
    items.Delete(0);
    EXPECT_EQ(items.Add().Name(), "SkinItem2");
    EXPECT_THROW(items.Delete(7), std::out_of_range);
}

TEST(SkinStore, CopyingTakesNameAndBytesAndLeavesTheSourcePosition) {
    TSkinStore store;
    TSkinCollectionItem& source = store.Store().Add();
    TSkinCollectionItem& target = store.Store().Add();
    source.SetName("SkinItem6");
    Fill(source.DataStream(), "stored skin bytes");
    source.DataStream().SetPosition(5);
    EXPECT_THROW(target.Assign(source), ESkinStoreError);  // same collection: the name is taken
    EXPECT_EQ(target.Name(), "SkinItem1");

    TSkinStore other;
    TSkinCollectionItem& copy = other.Store().Add();
    copy.Assign(source);
    EXPECT_EQ(copy.Name(), "SkinItem6");
    EXPECT_EQ(copy.DataSize(), 17);
    EXPECT_EQ(copy.DataStream().Bytes(), source.DataStream().Bytes());
    EXPECT_EQ(source.DataStream().Position(), 5);

    // Assigning a whole collection copies item by item, even over clashing default names.
    TSkinStore third;
    third.Store().Add();
    third.Store().Add().SetName("SkinItem0x");
    TSkinStore fourth;
    fourth.SetStore(&third.Store());
    fourth.SetStore(nullptr);
    ASSERT_EQ(fourth.Store().Count(), 2);
    EXPECT_EQ(fourth.Store().Items(0).Name(), "SkinItem0");
    EXPECT_EQ(fourth.Store().Items(1).Name(), "SkinItem0x");
    fourth.SetStore(&store.Store());
    ASSERT_EQ(fourth.Store().Count(), 2);
    EXPECT_EQ(fourth.Store().Items(0).Name(), "SkinItem6");
    EXPECT_EQ(fourth.Store().Items(0).DataSize(), 17);
}

TEST(SkinStore, DataStreamPropertyWritesFromTheStartAndReadsAfresh) {
    TSkinStore store;
    TSkinCollectionItem& item = store.Store().Add();
    Fill(item.DataStream(), "abcdef");
    TMemoryStream written;
    item.WriteData(written);  // from position 0, although the stream sits at its end
    EXPECT_EQ(written.Bytes(), item.DataStream().Bytes());
    TMemoryStream stored(std::vector<uint8_t>{'x', 'y'});
    item.ReadData(stored);
    EXPECT_EQ(item.DataSize(), 2);
    EXPECT_EQ(item.DataStream().Bytes(), (std::vector<uint8_t>{'x', 'y'}));
}

TEST(SkinStreamProperty, CountThenBytesAndNothingForAnEmptySkin) {
    TMemoryStream skin(std::vector<uint8_t>{1, 2, 3});
    TMemoryStream property;
    WriteSkinStreamProperty(property, skin);
    EXPECT_EQ(property.Bytes(), (std::vector<uint8_t>{3, 0, 0, 0, 1, 2, 3}));
    property.SetPosition(0);
    TMemoryStream back;
    EXPECT_TRUE(ReadSkinStreamProperty(property, back));
    EXPECT_EQ(back.Bytes(), skin.Bytes());

    TMemoryStream none;
    TMemoryStream emptyProperty;
    WriteSkinStreamProperty(emptyProperty, none);
    EXPECT_EQ(emptyProperty.Bytes(), (std::vector<uint8_t>{0, 0, 0, 0}));
    TMemoryStream negative(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 9});
    EXPECT_FALSE(ReadSkinStreamProperty(negative, back));
    EXPECT_EQ(back.Size(), 0);
    EXPECT_EQ(negative.Position(), 4);

    // A count past the end is refused before the stream is sized to it.
    TMemoryStream lying(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
    EXPECT_THROW(ReadSkinStreamProperty(lying, back), EReadError);
    EXPECT_EQ(back.Size(), 0);
}

TEST(SkinIntDef, IntegersAndDefaults) {
    EXPECT_EQ(SkinIntDef("42", 7), 42);
    EXPECT_EQ(SkinIntDef("-3", 7), -3);
    EXPECT_EQ(SkinIntDef("+3", 7), 3);
    EXPECT_EQ(SkinIntDef("$1F", 7), 31);
    EXPECT_EQ(SkinIntDef("0x10", 7), 16);
    EXPECT_EQ(SkinIntDef("-2147483648", 7), INT32_MIN);
    EXPECT_EQ(SkinIntDef("2147483648", 7), 7);
    EXPECT_EQ(SkinIntDef("$FFFFFFFF", 7), -1);
    for (const char* bad : {"", "abc", "12abc", "1.5", "-", "$", "0x", "99999999999999999999"}) {
        EXPECT_EQ(SkinIntDef(bad, 7), 7) << bad;
    }
}

}  // namespace
