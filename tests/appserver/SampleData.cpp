#include "SampleData.h"

namespace fai::appserver::test::sample {

void Seed(TestSeed& seed) {
    seed.Branch(kBranch, QStringLiteral("Centro"))
        .Branch(kOtherBranch, QStringLiteral("Norte"))
        .Client(QStringLiteral("J"), QStringLiteral("11222333000181"),
                QStringLiteral("Alfa Refeições Ltda."), QStringLiteral("Alfa"))
        .Client(QStringLiteral("F"), QStringLiteral("52998224725"), QStringLiteral("Bruno Souza"))
        .ClientAt(kBranch, kAlfa)
        .ClientAt(kBranch, kBruno)
        .ClientAt(kOtherBranch, kBruno)
        .Service(kBranch, kLunch, QStringLiteral("ALMOCO"))
        .Service(kBranch, kDinner, QStringLiteral("JANTAR"))
        .Service(kBranch, kBreakfast, QStringLiteral("CAFE DA MANHA"))
        .ClientService(kBranch, kAlfa, kDinner, QStringLiteral("Jantar - Alfa"),
                       QStringLiteral("S"), QStringLiteral("N"))
        .ClientService(kBranch, kAlfa, kLunch, QStringLiteral("Almoço - Alfa"), QStringLiteral("N"),
                       QStringLiteral("S"))
        .ClientService(kBranch, kBruno, kLunch);
}

}  // namespace fai::appserver::test::sample
