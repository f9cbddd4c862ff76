#pragma once

#include "EfetFaturParts.h"

namespace fai {

// Which of the headcount screen's commands and pages can be used: from the page shown, the
// mode, the state of the headcount and shift rows, and whether the row's day is open. Every
// change of state ends with the menu entries following their buttons.
class EfetFaturCommandStates {
  public:
    explicit EfetFaturCommandStates(const EfetFaturParts& parts);

    // Every command and page as the rows now stand.
    void Update();
    // Without rows there is nothing to change, delete, verify or search.
    void DisableWhenEmpty();
    // The record commands off, as after a load without rows.
    void DisableRecordCommands();
    // Include, search, verify and duplicate, on the headcount page only.
    void EnableAddingAndSearching(bool enabled);
    // While a row is being typed the filter and the duplication wait for it.
    void FollowRowState();
    void FollowShiftState();

  private:
    bool HeadcountPageShown() const;
    // A headcount row or a shift row is being typed.
    bool Typing() const;
    void EnablePages();
    void UpdateHeadcountCommands(bool open);
    void UpdateShiftCommands(bool open);
    void EnableDuplication();

    TfrmPadraoSimples& screen_;
    EfetFaturControls& controls_;
    EfetFaturSession& session_;
    EfetFaturFilter& filter_;
};

}  // namespace fai
