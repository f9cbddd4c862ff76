#pragma once

#include "DataPacket.h"
#include "Value.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace fai {

// The host's general data module (dtmDBGeral): where the read-only queries of the lookups, the
// working context and the reports run. The host hands the framework one at start, over the
// application server, which runs each read under the caller's session and lets it see only the
// rows of the caller's branches; the framework knows nothing of how it is reached.
class GeneralData {
  public:
    virtual ~GeneralData() = default;

    // One part of a read's rows: the fields of the answer, by name and type, each text field
    // sized for the longest text of the part, and the part's rows.
    using Part = std::function<void(DataPacket& part)>;

    // Runs one SELECT, whose values are bound in order at its "?" places, and hands its rows
    // to `part` in parts, in order; at least one part, which may have no rows. `name` names
    // the read where it is logged. Throws EError with a message for the user: the server's
    // own words when it refuses or fails the read.
    virtual void Read(const QString& name, const QString& sql, const std::vector<Value>& params,
                      const Part& part) = 0;
};

// Sets the general data module of this program (none: the queries fail, saying so).
void SetGeneralData(std::shared_ptr<GeneralData> data);
// Throws EError when none was set.
GeneralData& dtmDBGeral();

}  // namespace fai
