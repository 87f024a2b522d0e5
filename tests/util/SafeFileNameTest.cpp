#include "util/SafeFileName.h"

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
