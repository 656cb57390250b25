#pragma once

#include <cstdint>
#include <string>

// What the accelerator-key fixer knows of one control of a dialog.
struct SShortcutControl
{
    static constexpr std::uint32_t kVisible = 1;
    static constexpr std::uint32_t kChanged = 2;
    static constexpr std::uint32_t kNeedsMnemonic = 4;
    // The static style that shows every "&" as it is.
    static constexpr std::uint32_t kStaticNoPrefix = 0x80;

    // Kinds by window class (and button style).
    enum EKind : int {
        kUnknown = 0, kPushButton = 1, kGroupBox = 2, kCheckBox = 3, kRadioButton = 4, kComboBox = 5, kEdit = 6,
        kStatic = 7, kDateTimePicker = 8, kListView = 9, kListBox = 10, kComboBoxEx = 11
    };

    std::uintptr_t window = 0;
    std::uintptr_t parent = 0;
    int kind = kUnknown;
    std::uint32_t style = 0;
    std::wstring className;
    std::uint32_t flags = 0;
    // Lower case; empty without a mnemonic.
    std::wstring mnemonic;
    std::wstring textRead;
    std::wstring newText;
    // For an input control, the record of its label; -1 when it has none.
    int label = -1;

    bool Has(std::uint32_t flag) const { return (flags & flag) != 0; }
};
