#include "app/ApplicationTitle.h"

#include "tests/app/RowName.h"

#include <gtest/gtest.h>

namespace {

struct TitleCase
{
    const char* name;
    const char* path;
    const char* title;
};

const TitleCase titleCases[] = {
    {"ProgramName", "/usr/bin/vornale-lite", "vornale-lite"},
    {"CutAtFirstDot", "/opt/VORNALE.LITE.EXE", "Vornale"},
    {"FirstLetterKeptRestLowered", "/tmp/VoRnAlE", "Vornale"},
    {"LowerFirstLetterStays", "/tmp/vORNALE", "vornale"},
    {"NoFolder", "Calc.exe", "Calc"},
    {"CyrillicLowered", "/tmp/ВОРНАЛЕ.bin", "Ворнале"},
    {"DotInFolderIgnored", "/home/a.b/PROG", "Prog"},
    {"LeadingDotGivesEmpty", "/tmp/.hidden", ""},
    {"SingleLetter", "/tmp/X.y", "X"},
};

class ApplicationTitleCase : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleCase, FromExecutablePath)
{
    EXPECT_EQ(ApplicationTitleFromPath(QString::fromUtf8(GetParam().path)), QString::fromUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitleCase, ::testing::ValuesIn(titleCases), RowName());

} // namespace
