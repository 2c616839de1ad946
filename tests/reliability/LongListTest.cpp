// The map list over many entries in any order: each insert answers the
// index, and the list ends in the order, that a sorted list box gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "resource.h"

namespace {

char Fold(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool LessFolded(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Fold(x) < Fold(y); });
}

class LongListTest : public DialogFixture {};

TEST_F(LongListTest, KeepsTheOrderOfASortedListBox)
{
    std::mt19937 random(7);
    std::vector<std::string> names;
    // Few letters, so that equal and case-only different entries are common.
    for (int i = 0; i < 20000; ++i) {
        std::string name(1 + random() % 4, 'a');
        for (char& ch : name)
            ch = "aAbB.e1"[random() % 7];
        names.push_back(name);
    }

    std::vector<std::string> expected;
    std::vector<long> answers;
    std::vector<long> expectedAnswers;
    std::vector<std::string> entries;
    WhileOpen([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_MAPLIST);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (size_t i = 0; i < names.size(); ++i) {
            auto at = std::upper_bound(expected.begin(), expected.end(), names[i], LessFolded);
            expectedAnswers.push_back(at - expected.begin());
            expected.insert(at, names[i]);
            answers.push_back(static_cast<long>(
                SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i].c_str()))));
            // Reads in between, from the end, so that no cached place is trusted.
            if (i % 997 == 0) {
                char text[8] = {};
                WPARAM last = static_cast<WPARAM>(i);
                SendMessageA(list, LB_GETTEXT, last, reinterpret_cast<LPARAM>(text));
                ASSERT_EQ(text, expected[i]) << "after " << i << " inserts";
            }
        }
        entries = ListEntries(dialog, IDC_MAPLIST);
    });
    RunProgram();

    EXPECT_EQ(answers, expectedAnswers);
    EXPECT_EQ(entries, expected);
}

}  // namespace
