#pragma once

#include "fai00400.pb.h"

#include <QStringList>

#include <string>

namespace fai::appserver {

// The branches a request names, as the authorization judges them: its branch arguments and,
// in its packets, every current and original value of every column that holds a branch
// (CDFILIAL, and CDFILIFATU, the billing branch of a headcount), each branch once, in the
// order met. Read from the request as it came, before its form is judged: a value that is no
// branch code is named as it stands and refused with the rest.
class NamedBranches {
  public:
    NamedBranches& Argument(const std::string& bytes);
    NamedBranches& Packet(const Fai00400::DataPacket& packet);

    const QStringList& List() const { return branches_; }

  private:
    void Add(const QString& branch);
    void AddValuesOf(const Fai00400::Column& column);

    QStringList branches_;
};

}  // namespace fai::appserver
