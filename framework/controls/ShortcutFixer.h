#pragma once

#include <windows.h>

#include "ShortcutChooser.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

// Gives the controls of a dialog unique mnemonics, typically after its texts were
// translated, and routes Alt+letter to the control that owns the letter. The dialog
// is offered every control first (kOfferControl) and told when a pass is over
// (kShortcutsFixed).
class CShortcutFixer
{
public:
    // wParam: control id; lParam: SControlOffer*, whose `accept` the dialog may clear.
    static constexpr UINT kOfferControl = 0x524;
    static constexpr UINT kShortcutsFixed = 0x525;
    struct SControlOffer
    {
        int accept = 1;
    };

    CShortcutFixer();
    virtual ~CShortcutFixer();
    CShortcutFixer(const CShortcutFixer&) = delete;
    CShortcutFixer& operator=(const CShortcutFixer&) = delete;

    virtual void SetDialog(HWND dialog) { m_hDialog = dialog; }
    virtual void SetExcludedIds(const std::vector<int>& ids);
    virtual void ClearExcludedIds() { m_excludedIds.clear(); }
    virtual void AddExcludedId(int id) { m_excludedIds.insert(id); }
    virtual void RemoveExcludedId(int id) { m_excludedIds.erase(id); }
    // Collects, chooses, assigns and writes back; always posts kShortcutsFixed.
    virtual void FixShortcuts();
    // True when an Alt+letter or Alt+digit key went to the control owning that mnemonic.
    virtual bool HandleAltKey(const MSG& message);

    // The records of the last pass, in the order the controls were collected.
    const std::vector<SShortcutControl>* GetControls() const { return m_pControls.get(); }

protected:
    explicit CShortcutFixer(std::unique_ptr<CShortcutChooser> chooser);

    virtual bool StartControlList();
    virtual bool CollectControls();
    virtual bool ClassifyControls();
    virtual bool SelectControls();
    virtual int MarkVisible();
    virtual bool MarkNeedingMnemonic();
    virtual bool GatherAndAssign();
    SShortcutControl* FindRecord(HWND window);
    // The record of the static or check box in front of an input control; -1 if none.
    int FindLabel(const SShortcutControl& input) const;
    virtual int RemoveMnemonics(std::wstring& text) { return m_pChooser->RemoveMnemonics(text); }
    virtual std::wstring GetBracketPair() const { return m_pChooser->GetBracketPair(); }
    virtual bool WriteBack();

    CShortcutChooser& Chooser() const { return *m_pChooser; }

private:
    bool Offer(HWND control) const;
    bool IsShownInDialog(HWND window) const;
    int IndexOf(HWND window) const;

    HWND m_hDialog = nullptr;
    std::unique_ptr<std::vector<SShortcutControl>> m_pControls;
    std::set<int> m_excludedIds;
    std::unique_ptr<CShortcutChooser> m_pChooser;
};
