#include "util/SafeFileName.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace tarvin;

TEST(SafeFileName, ReplacesTheTwelveCharactersOnly) {
    EXPECT_EQ(SafeFileName("Re: a/b <c>?"), "Re_ a_b _c__");
    EXPECT_EQ(SafeFileName(QString("a\tb\nc\rd\"e*f|g\\h")), "a_b_c_d_e_f_g_h");
    QString control = QString("x") + QChar(1) + QChar(0x1f) + QString::fromUtf8("é€");
    EXPECT_EQ(SafeFileName(control), control);
}

TEST(SafeFileName, ExemptCharactersStay) {
    EXPECT_EQ(SafeFileName("x*y?z:", "*?"), "x*y?z_");
}

TEST(SafePathComponent, NeverLeavesTheFolder) {
    EXPECT_EQ(SafePathComponent(""), "File");
    EXPECT_EQ(SafePathComponent("."), "File");
    EXPECT_EQ(SafePathComponent(".."), "File");
    EXPECT_EQ(SafePathComponent("../../etc/passwd"), ".._.._etc_passwd");
    EXPECT_EQ(SafePathComponent(QString("a") + QChar(0) + "b"), "a_b");
}

TEST(SafePathComponent, LongNamesKeepTheirExtension) {
    QString longName = QString(300, QChar(0x00e9)) + ".pdf";
    QString safe = SafePathComponent(longName);
    EXPECT_LE(safe.toUtf8().size(), 255);
    EXPECT_TRUE(safe.endsWith(".pdf"));
}

TEST(SafePathComponent, UnpairedSurrogatesAreReplacedAndTheNameFitsOnDisk) {
    // Lone surrogates (possible in names read from a message file) have no form in the file
    // system's encoding; the length counts the bytes that really name the file.
    QString lone;
    for (int i = 0; i < 150; ++i)
        lone += QString(QChar(i % 2 ? 0xD800 : 0xDC00)) + "a";
    lone += ".txt";
    const QString safe = SafePathComponent(lone);
    EXPECT_EQ(QFile::encodeName(safe).size(), 255);
    EXPECT_TRUE(safe.startsWith("_a_a") && safe.endsWith("a_a_.txt")) << safe.toStdString();
    for (QChar c : safe)
        EXPECT_FALSE(c.isSurrogate());
    // Pairs stay whole; a pair cut in two by truncation never happens.
    const QString pairs = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(80) + QChar(0xDBFF);
    const QString safePairs = SafePathComponent(pairs);
    EXPECT_LE(QFile::encodeName(safePairs).size(), 255);
    EXPECT_EQ(safePairs, QString::fromUtf8("\xF0\x9F\x98\x80").repeated(63));
    const QString suffixed = SafeNameWithSuffix(QString(300, QChar(0xDFFF)), "[x].pml");
    EXPECT_LE(QFile::encodeName(suffixed).size(), 255);
    EXPECT_TRUE(suffixed.endsWith("_[x].pml"));
}
