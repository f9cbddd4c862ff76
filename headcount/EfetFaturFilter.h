#pragma once

#include "EfetFaturSession.h"

#include <QDate>
#include <QString>

namespace fai {

class EfetFaturControls;
class Field;

// The filter panel of the headcount screen: the branch, client, mode and date or service a
// load names, the check of each box as it is left (which fails with the focus on the box to
// correct), and the lists behind its lookup buttons.
class EfetFaturFilter {
  public:
    EfetFaturFilter(EfetFaturControls& controls, EfetFaturSession& session);

    // ---- what the filter names --------------------------------------------------------------
    bool ByServiceMode() const;
    QString Branch() const;
    // The code of the client found for the registration number typed; empty until found.
    QString Client() const;
    QString Service() const;
    QDate Date() const;
    LoadFilter Current() const;

    // ---- the boxes ------------------------------------------------------------------------
    // The billing branch of the working context (else the working branch), its processing
    // date, and the branch's name as its table has it when the table can be read.
    void ShowStartingBranch(bool branchFixed);
    // The date box or the service box, and the grid of the mode chosen.
    void ShowMode();
    void CheckBranch(bool required);
    void CheckClient(bool required);
    void CheckService(bool required);
    // Every box a load needs, in the order the clerk fills them.
    void CheckAll();
    // The registration number is typed bare; the client must be checked again when the box
    // is left, so until then there is no client for the server calls.
    void EnterClient();
    void LeaveDate();
    // The boxes the clerk may change; with `branchFixed` the branch is never among them.
    void SetEnabled(bool enabled, bool branchFixed);

    // ---- the lookups ----------------------------------------------------------------------
    void ListBranches();
    void TakeBranchPicked();
    void ListClients();
    void TakeClientPicked();
    void ListServices();
    void TakeServicePicked();
    // The registration number with the punctuation of the client's kind.
    static QString RegistrationText(const Field& sender);

  private:
    // qryFilial on one branch, or on all of them with "T".
    void OpenBranchQuery(const QString& branch, const QString& all);

    EfetFaturControls& controls_;
    EfetFaturSession& session_;
};

}  // namespace fai
