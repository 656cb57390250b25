// The choice of mnemonics on the records of translated dialogs: which controls need
// one, which character each gets and how each variant writes it.
#include <gtest/gtest.h>

#include "framework/controls/ShortcutChooser.h"
#include "framework/controls/ShortcutChooser_Asia.h"
#include "framework/controls/ShortcutChooser_Chinese.h"

#include <set>
#include <string>
#include <vector>

namespace {

using K = SShortcutControl;

SShortcutControl Control(int kind, const std::wstring& text, std::uintptr_t parent = 1)
{
    SShortcutControl control;
    control.kind = kind;
    control.parent = parent;
    control.flags = K::kVisible;
    control.textRead = text;
    control.newText = text;
    return control;
}

// An open-file dialog: label and edit, label and combo box, check box, buttons.
std::vector<SShortcutControl> FileDialog(const std::vector<std::wstring>& texts)
{
    std::vector<SShortcutControl> controls = {
        Control(K::kStatic, texts[0]), Control(K::kEdit, L"a&b.txt"), Control(K::kStatic, texts[1]),
        Control(K::kComboBox, L""),    Control(K::kCheckBox, texts[2]), Control(K::kPushButton, texts[3]),
        Control(K::kPushButton, texts[4]), Control(K::kPushButton, texts[5]), Control(K::kPushButton, texts[6]),
        Control(K::kGroupBox, texts[7]), Control(K::kStatic, texts[8]),
    };
    controls[1].label = 0;
    controls[3].label = 2;
    return controls;
}

std::vector<std::wstring> Fix(CShortcutChooser& chooser, std::vector<SShortcutControl>& controls)
{
    chooser.MarkNeedingMnemonic(controls);
    chooser.GatherAndAssign(controls);
    std::vector<std::wstring> texts;
    for (const SShortcutControl& control : controls)
        texts.push_back(control.newText);
    return texts;
}

// Every control that got a mnemonic has one of its own, and `count` got one.
void ExpectUniqueMnemonics(const std::vector<SShortcutControl>& controls, size_t count)
{
    std::set<std::wstring> seen;
    for (const SShortcutControl& control : controls) {
        if (!control.mnemonic.empty()) {
            EXPECT_TRUE(control.Has(K::kNeedsMnemonic));
            EXPECT_TRUE(seen.insert(control.mnemonic).second) << testing::PrintToString(control.newText);
        }
    }
    EXPECT_EQ(seen.size(), count);
}

TEST(ShortcutChooserTest, KindsByClassAndButtonStyle)
{
    EXPECT_EQ(CShortcutChooser::KindOf(L"BUTTON", 0x7), K::kGroupBox);
    EXPECT_EQ(CShortcutChooser::KindOf(L"Button", 0x9), K::kRadioButton);
    EXPECT_EQ(CShortcutChooser::KindOf(L"button", 0x3), K::kCheckBox);
    EXPECT_EQ(CShortcutChooser::KindOf(L"Button", 0x1), K::kPushButton);
    EXPECT_EQ(CShortcutChooser::KindOf(L"edit", 0), K::kEdit);
    EXPECT_EQ(CShortcutChooser::KindOf(L"SysDateTimePick32", 0), K::kDateTimePicker);
    EXPECT_EQ(CShortcutChooser::KindOf(L"comboboxex32", 0), K::kComboBoxEx);
    EXPECT_EQ(CShortcutChooser::KindOf(L"msctls_progress32", 0), K::kUnknown);
}

TEST(ShortcutChooserTest, GermanDialogGetsUniqueLettersShortTextsFirst)
{
    // A translation that kept the English letters: three controls want "s".
    auto controls = FileDialog({L"&Dateiname:", L"Datei&typ:", L"&Schreibgeschützt öffnen", L"Über&schreiben",
                                L"Ö&ffnen", L"&Abbrechen", L"&Hilfe", L"&Optionen", L"Hin&weis: A && B"});
    controls.push_back(Control(K::kPushButton, L"Speichern && &Schließen"));
    const auto texts = Fix(*std::make_unique<CShortcutChooser>(), controls);
    EXPECT_EQ(texts, (std::vector<std::wstring>{
                         L"Da&teiname:", L"a&b.txt", L"&Dateityp:", L"", L"S&chreibgeschützt öffnen", L"Ü&berschreiben",
                         L"Ö&ffnen", L"&Abbrechen", L"&Hilfe", L"Optionen", L"Hinweis: A && B",
                         L"Speichern && &Schließen"}));
    ExpectUniqueMnemonics(controls, 8);
    EXPECT_FALSE(controls[1].Has(K::kChanged)) << "an edit's text is the user's";
    EXPECT_TRUE(controls[9].Has(K::kChanged));
}

TEST(ShortcutChooserTest, AnInputsTextAndALiteralAmpersandAreNeverStripped)
{
    // A hidden edit, a static that shows "&" as it is, and such a static in front of an
    // edit: none of their texts is a mnemonic, none may change.
    std::vector<SShortcutControl> controls = {Control(K::kEdit, L"Smith & Sons"), Control(K::kStatic, L"Tom & Jerry"),
                                              Control(K::kStatic, L"R&D:"), Control(K::kEdit, L"a&b"),
                                              Control(K::kComboBox, L"x&y"), Control(K::kStatic, L"&Hidden")};
    controls[0].flags = 0;
    controls[1].style = controls[2].style = K::kStaticNoPrefix;
    controls[3].label = 2;
    controls[4].flags = 0;
    controls[5].flags = 0;
    const auto texts = Fix(*std::make_unique<CShortcutChooser_Asia>(), controls);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Smith & Sons", L"Tom & Jerry", L"R&D:", L"a&b", L"x&y", L"Hidden"}));
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_FALSE(controls[i].Has(K::kChanged)) << i;
        EXPECT_FALSE(controls[i].Has(K::kNeedsMnemonic)) << i;
        EXPECT_TRUE(CShortcutChooser::KeepsItsText(controls[i])) << i;
    }
    EXPECT_TRUE(controls[5].Has(K::kChanged)) << "an ordinary hidden static loses its mnemonic";
    EXPECT_FALSE(CShortcutChooser::KeepsItsText(controls[5]));
}

TEST(ShortcutChooserTest, BaseChoosesTheStartOfAWordWhenItCan)
{
    CShortcutChooser chooser;
    SShortcutControl control = Control(K::kPushButton, L"Alles löschen");
    SShortcutControl slash = Control(K::kPushButton, L"Ein-/Ausgabe");
    SShortcutControl none = Control(K::kPushButton, L"ä ü");
    std::set<wchar_t> used = {L'a', L'e', L'i', L'n'};
    chooser.AssignMnemonics({&control, &slash, &none}, used);
    EXPECT_EQ(control.newText, L"Alles &löschen");
    EXPECT_EQ(control.mnemonic, L"l");
    EXPECT_EQ(slash.newText, L"Ein-/A&usgabe");
    EXPECT_EQ(none.newText, L"ä ü");
    EXPECT_TRUE(none.mnemonic.empty());
    EXPECT_FALSE(none.Has(K::kChanged));
}

TEST(ShortcutChooserTest, RemovingKeepsDoubledAmpersands)
{
    CShortcutChooser base;
    CShortcutChooser_Asia asia;
    CShortcutChooser_Chinese chinese;
    std::wstring text = L"&Laden && Speichern&";
    EXPECT_EQ(base.RemoveMnemonics(text), 2);
    EXPECT_EQ(text, L"Laden && Speichern");
    text = L"開く(&O) [&X] &&(&&)&a";
    EXPECT_EQ(asia.RemoveMnemonics(text), 3);
    EXPECT_EQ(text, L"開く [X] &&(&&)a");
    text = L"打开(&O)[&X] &&";
    EXPECT_EQ(chinese.RemoveMnemonics(text), 2);
    EXPECT_EQ(text, L"打开 &&");
}

TEST(ShortcutChooserTest, JapaneseDialogGetsBracketGroupsBeforeTrailingPunctuation)
{
    auto controls = FileDialog({L"ファイル名(&N):", L"ファイルの種類(&T):", L"読み取り専用で開く(&R)", L"開く(&O)",
                                L"キャンセル", L"ヘルプ(&H)", L"参照(&B)...", L"オプション(&P)", L"注意: &&"});
    CShortcutChooser_Asia chooser;
    const auto texts = Fix(chooser, controls);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"ファイル名(&E):", L"a&b.txt", L"ファイルの種類(&F):", L"",
                                                L"読み取り専用で開く(&G)", L"開く(&A)", L"キャンセル(&C)", L"ヘルプ(&B)",
                                                L"参照(&D)...", L"オプション", L"注意: &&"}));
    ExpectUniqueMnemonics(controls, 7);
    EXPECT_EQ(controls[5].mnemonic, L"a");
}

TEST(ShortcutChooserTest, ChineseDialogUsesSquareBracketsAndRunsOutOfLetters)
{
    std::vector<SShortcutControl> controls = {Control(K::kStatic, L"文件名(&N)："), Control(K::kEdit, L""),
                                              Control(K::kPushButton, L"浏览[&B]…"),
                                              Control(K::kPushButton, L"保存&&关闭"),
                                              Control(K::kPushButton, L"……")};
    controls[1].label = 0;
    for (int i = 0; i < 24; ++i)
        controls.push_back(Control(K::kCheckBox, L"选项" + std::to_wstring(10 + i)));
    CShortcutChooser_Chinese chooser;
    const auto texts = Fix(chooser, controls);
    EXPECT_EQ(texts[0], L"文件名[&B]：");
    EXPECT_EQ(texts[2], L"浏览[&A]…");
    EXPECT_EQ(texts[4], L"……") << "nothing to put a group after";
    EXPECT_EQ(texts[5], L"选项10[&C]");
    EXPECT_EQ(texts.back(), L"选项33[&Z]");
    // 26 letters for 27 controls that could take one: the longest text goes without.
    EXPECT_EQ(texts[3], L"保存&&关闭");
    EXPECT_TRUE(controls[3].mnemonic.empty());
    ExpectUniqueMnemonics(controls, 26);
}

TEST(ShortcutChooserTest, AsiaKeepsAFreeGroupAndHandsOutLettersInOrder)
{
    CShortcutChooser_Asia chooser;
    SShortcutControl kept = Control(K::kPushButton, L"閉じる(&X)");
    SShortcutControl taken = Control(K::kPushButton, L"終了(&X)");
    std::set<wchar_t> used = {L'a'};
    chooser.AssignMnemonics({&kept, &taken}, used);
    EXPECT_EQ(kept.newText, L"閉じる(&X)");
    EXPECT_EQ(kept.mnemonic, L"x");
    EXPECT_EQ(taken.newText, L"終了(&X)(&B)") << "the group's letter is taken: one after the closing parenthesis";
    std::set<wchar_t> all;
    for (wchar_t c = L'a'; c <= L'z'; ++c)
        all.insert(c);
    EXPECT_EQ(chooser.NextFreeLetter(all), L"");
    all.erase(L'q');
    EXPECT_EQ(chooser.NextFreeLetter(all), L"Q");
    EXPECT_EQ(all.count(L'q'), 1u);
}

} // namespace
