// The help page found where an install puts it: share/<name>/help beside
// the bin folder, unless a page sits beside the program itself.
#include <gmock/gmock.h>

#include "DialogFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class InstalledHelpTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        bin = NewFolder("bin");
        NewFolder("share");
        NewFolder("share/levrin");
        NewFolder("share/levrin/help");
        installedPage = root + "/share/levrin/help/levrin.html";
        view.helpStarts = true;
    }

    std::string bin;
    std::string installedPage;
};

TEST_F(InstalledHelpTest, FindsThePageOfTheInstalledLayout)
{
    WriteFile(installedPage, "<html></html>");

    EXPECT_TRUE(WinHelpA(nullptr, (bin + "/levrin.HLP").c_str(), HELP_CONTEXT, 0));

    EXPECT_THAT(view.helpOpened, ElementsAre(bin + "/../share/levrin/help/levrin.html"));
}

TEST_F(InstalledHelpTest, PrefersThePageBesideTheProgram)
{
    WriteFile(installedPage, "<html></html>");
    NewFolder("bin/help");
    WriteFile(bin + "/help/levrin.html", "<html></html>");

    EXPECT_TRUE(WinHelpA(nullptr, (bin + "/levrin.HLP").c_str(), HELP_CONTEXT, 0));

    EXPECT_THAT(view.helpOpened, ElementsAre(bin + "/help/levrin.html"));
}

TEST_F(InstalledHelpTest, NoPageNoHelp)
{
    EXPECT_FALSE(WinHelpA(nullptr, (bin + "/levrin.HLP").c_str(), HELP_CONTEXT, 0));

    EXPECT_THAT(view.helpOpened, IsEmpty());
}

}  // namespace
