#pragma once

#include <QStringList>

namespace fai {

class TADOIBQuery;

// What the diners listing reads and says, shared by its screen and by a run without a
// screen: the read-only lookups on the shared database, with their SQL as stored and their
// fields, and the message table.

// Branches of the user's: P_CDFILIAL, or every one when P_TCDFILIAL is "T".
void DefineQryFilial(TADOIBQuery& query);
// The services of the branch P_CDFILIAL.
void DefineQryServico(TADOIBQuery& query);
// The clients linked to the branch P_CDFILIAL, by corporate name.
void DefineQryCliente(TADOIBQuery& query);

QStringList RelListComenMessages();

}  // namespace fai
