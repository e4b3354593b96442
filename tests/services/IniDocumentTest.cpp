#include <gtest/gtest.h>

#include "IniDocument.h"

namespace zorvi {
namespace {

TEST(IniDocument, ReadsCaseInsensitivelyAndTrimsValues) {
    const IniDocument doc = IniDocument::Parse("[Common]\r\n  Voice =  Äänet  \r\nvolume=25\r\n");
    EXPECT_EQ(doc.Get("common", "voice"), "Äänet");
    EXPECT_EQ(doc.Get("COMMON", "VOLUME"), "25");
    EXPECT_EQ(doc.Get("common", "missing"), std::nullopt);
    EXPECT_EQ(doc.Get("other", "voice"), std::nullopt);
}

TEST(IniDocument, KeysOfOtherSectionsAreNotSeen) {
    const IniDocument doc = IniDocument::Parse("[other]\nlanguage=2\n[common]\nvolume=3\n");
    EXPECT_EQ(doc.Get("common", "language"), std::nullopt);
    EXPECT_EQ(doc.Get("common", "volume"), "3");
    EXPECT_EQ(doc.Get("other", "language"), "2");
}

TEST(IniDocument, ValueMayHoldEqualsSignAndBeEmpty) {
    const IniDocument doc = IniDocument::Parse("[common]\na=b=c\nempty=\n; note=1\n");
    EXPECT_EQ(doc.Get("common", "a"), "b=c");
    EXPECT_EQ(doc.Get("common", "empty"), "");
    EXPECT_EQ(doc.Get("common", "; note"), std::nullopt);
}

TEST(IniDocument, ReplacesInPlaceAndKeepsOtherLinesAndOrder) {
    IniDocument doc = IniDocument::Parse("; kept\n[common]\na=1\nB=2\nc=3\n[other]\nb=9\n");
    doc.Set("common", "b", "20");
    EXPECT_EQ(doc.Serialize(), "; kept\n[common]\na=1\nb=20\nc=3\n[other]\nb=9\n");
}

TEST(IniDocument, NewKeyGoesAfterLastKeyLineOfItsSection) {
    IniDocument doc = IniDocument::Parse("[common]\na=1\n\n[other]\nx=1\n");
    doc.Set("COMMON", "d", "4");
    EXPECT_EQ(doc.Serialize(), "[common]\na=1\nd=4\n\n[other]\nx=1\n");

    IniDocument headingOnly = IniDocument::Parse("[common]\n[other]\n");
    headingOnly.Set("common", "a", "1");
    EXPECT_EQ(headingOnly.Serialize(), "[common]\na=1\n[other]\n");
}

TEST(IniDocument, MissingSectionIsCreatedAtTheEnd) {
    IniDocument doc = IniDocument::Parse("[other]\nx=1");
    doc.Set("common", "a", "1");
    EXPECT_EQ(doc.Serialize(), "[other]\nx=1\n[common]\na=1\n");

    IniDocument empty = IniDocument::Parse("");
    empty.Set("common", "a", "1");
    empty.Set("common", "b", "2");
    EXPECT_EQ(empty.Get("common", "a"), "1");
    EXPECT_EQ(IniDocument::Parse(empty.Serialize()).Get("common", "b"), "2");
}

TEST(IniDocument, CrLfFileKeepsItsLineEndsAndByteOrderMark) {
    IniDocument doc = IniDocument::Parse("\xEF\xBB\xBF[common]\r\na=1\r\n");
    EXPECT_EQ(doc.Get("common", "a"), "1");
    doc.Set("common", "b", "2");
    EXPECT_EQ(doc.Serialize(), "\xEF\xBB\xBF[common]\r\na=1\r\nb=2\r\n");
}

TEST(IniDocument, LineBreakInValueCannotAddKeys) {
    IniDocument doc = IniDocument::Parse("[common]\n");
    doc.Set("common", "voice", "x\nlanguage=7\r");
    const IniDocument reread = IniDocument::Parse(doc.Serialize());
    EXPECT_EQ(reread.Get("common", "language"), std::nullopt);
    EXPECT_EQ(reread.Get("common", "voice"), "x language=7");
}

// A stray carriage return must not make a heading name another section: a key written to
// "common" would otherwise land in a second "[common]" that the next read does not see.
TEST(IniDocument, StrayCarriageReturnsDoNotSplitASection) {
    IniDocument doc = IniDocument::Parse(std::string_view("\r\0\nk\n[common\r\r\n\r-\r00\n", 21));
    doc.Set("common", "key", "value=1");
    const IniDocument reread = IniDocument::Parse(doc.Serialize());
    EXPECT_EQ(reread.Get("common", "key"), "value=1");
}

} // namespace
} // namespace zorvi
