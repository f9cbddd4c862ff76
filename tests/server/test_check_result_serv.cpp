#include "CheckResultServ.h"
#include "NamedResults.h"
#include "PacketPrinter.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace fai {
namespace {

DataPacket Numbered(int n) {
    DataPacket p;
    p.fields = {{"N", FieldType::Float, 0, false}};
    p.rows.push_back({RowChange::Unchanged, {static_cast<double>(n)}, {}});
    return p;
}

TEST(CheckResultServ, ASuccessGivesThePayloadFromTheIndexOn) {
    const ServerResult three{true, "", {Numbered(0), Numbered(1), Numbered(2)}};
    const struct {
        ServerResult result;
        int index;
        std::vector<DataPacket> expected;
    } cases[] = {
        {three, 0, {Numbered(0), Numbered(1), Numbered(2)}},
        {three, 1, {Numbered(1), Numbered(2)}},
        {three, 2, {Numbered(2)}},
        {three, 3, {}},
        {{true, "", {Numbered(7)}}, 0, {Numbered(7)}},
        {{true, "", {}}, 0, {}},
        {{true, "ignored on success", {Numbered(1)}}, 0, {Numbered(1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(CheckResultServ(c.result, true, c.index), c.expected);
        EXPECT_EQ(CheckResultServ(c.result, false, c.index), c.expected);
    }
}

TEST(CheckResultServ, AFailureRaisesTheServersMessage) {
    const struct {
        QString error;
        QString shown;
    } cases[] = {
        {"Data já cadastrada para o serviço.", "Data já cadastrada para o serviço."},
        {"", "O servidor de aplicação informou uma falha sem descrição."},
    };
    for (const auto& c : cases) {
        const ServerResult failed{false, c.error, {Numbered(1)}};
        try {
            CheckResultServ(failed, true, 0);
            ADD_FAILURE() << "no EServerError for " << c.error.toStdString();
        } catch (const EServerError& e) {
            EXPECT_EQ(e.Message(), c.shown);
        }
    }
}

TEST(CheckResultServ, AFailureNotToBeShownAbortsSilently) {
    EXPECT_THROW(CheckResultServ({false, "Falhou.", {}}, false, 0), EAbort);
    EXPECT_THROW(CheckResultServ({}, false, 0), EAbort);
}

TEST(NamedResults, NameEachPacketOfTheContractsOrderAndFailAsTheCheckDoes) {
    const ServerResult three{true, "", {Numbered(0), Numbered(1), Numbered(2)}};
    const HeadcountPackets loaded = HeadcountPacketsOf(three);
    EXPECT_EQ(loaded.headcounts, Numbered(0));
    EXPECT_EQ(loaded.assessedPeriods, Numbered(1));
    EXPECT_EQ(loaded.apportionmentItems, Numbered(2));
    const ImportedPackets imported = ImportedPacketsOf(three);
    EXPECT_EQ(imported.headcounts, Numbered(0));
    EXPECT_EQ(imported.assessedPeriods, Numbered(1));
    EXPECT_EQ(imported.summary, Numbered(2));
    EXPECT_EQ(SinglePacket({true, "", {Numbered(7)}}), Numbered(7));

    const ServerResult failed{false, "Cliente não encontrado.", {}};
    EXPECT_THROW(HeadcountPacketsOf(failed), EServerError);
    EXPECT_THROW(ImportedPacketsOf(failed), EServerError);
    EXPECT_THROW(SinglePacket(failed), EServerError);
}

TEST(CheckResultServ, ANegativeIndexIsAProgrammingError) {
    EXPECT_THROW(CheckResultServ({true, "", {Numbered(0)}}, true, -1), std::invalid_argument);
}

}  // namespace
}  // namespace fai
