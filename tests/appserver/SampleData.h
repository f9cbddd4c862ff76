#pragma once

#include "TestSeed.h"

namespace fai::appserver::test::sample {

// Two branches; at the first one a company and a person with their services, the company
// with lunch (sale value per date) and dinner (compared with the planning); breakfast is a
// service of the branch that neither client has.
inline const QString kBranch = QStringLiteral("0001");
inline const QString kOtherBranch = QStringLiteral("0002");
inline const QString kAlfa = QStringLiteral("J11222333000181");
inline const QString kBruno = QStringLiteral("F52998224725");
inline const QString kLunch = QStringLiteral("00001");
inline const QString kDinner = QStringLiteral("00002");
inline const QString kBreakfast = QStringLiteral("00003");
inline const QDate kDay(2026, 3, 10);

void Seed(TestSeed& seed);

}  // namespace fai::appserver::test::sample
