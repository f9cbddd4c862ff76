#include "BrazilianText.h"
#include "ClientDataSet.h"
#include "Errors.h"
#include "NumericFormat.h"
#include "ValueConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace fai {
namespace {

TEST(NumericFormat, ShowsNumbersTheBrazilianWay) {
    struct Case {
        const char* pattern;
        double value;
        const char* text;
    } cases[] = {
        {"#,##0.000", 1234.5, "1.234,500"},
        {"#,##0.00000", 1234.5, "1.234,50000"},
        {"#,##0.000", 0.0, "0,000"},
        {"#,##0.000", 1234567.8916, "1.234.567,892"},
        {"#,##0.000", -1234.5, "-1.234,500"},
        {"#,##0.000", -0.0001, "0,000"},  // rounds to zero: no sign
        {"#0.000", 1234.5, "1234,500"},
        {"#0.000", 0.5, "0,500"},
        {"0.00##", 1.5, "1,50"},
        {"0.00##", 1.23456, "1,2346"},
        {"#,##0", 1234.4, "1.234"},
        {"#,##0", 1234.5, "1.235"},
        {"#,##0", 999.0, "999"},
        {"#.00", 0.5, ",50"},
        {"#.00", -0.5, "-,50"},
        {"#", 0.0, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumericFormat::Parse(c.pattern).Format(c.value), QString::fromUtf8(c.text))
            << c.pattern << " " << c.value;
    }
}

TEST(NumericFormat, RefusesPatternsOutsideItsGrammar) {
    for (const char* pattern :
         {"", "00.0", "0#.0", "#,##0.0#0", "R$ #,##0.00", "#,##0;(#)", "0.0e"}) {
        EXPECT_THROW(NumericFormat::Parse(pattern), EError) << pattern;
    }
}

TEST(BrazilianText, ParsesNumbersWithDecimalCommaAndRejectsTheRest) {
    struct Case {
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {"1.234,5", 1234.5}, {"1234,5", 1234.5}, {" 3,25 ", 3.25}, {"-1.234,5", -1234.5},
        {"0", 0.0},          {"1.5", {}},        {"12.34,5", {}},  {"1,2,3", {}},
        {"abc", {}},         {"", {}},           {"nan", {}},      {"inf", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseNumber(QString::fromUtf8(c.text)), c.number) << c.text;
}

TEST(BrazilianText, DatesAreDayMonthYear) {
    EXPECT_EQ(FormatDate(QDate(2026, 3, 7)), "07/03/2026");
    EXPECT_EQ(ParseDate(u"07/03/2026"), QDate(2026, 3, 7));
    EXPECT_EQ(ParseDate(u" 7/3/2026 "), QDate(2026, 3, 7));
    EXPECT_EQ(ParseDate(u"31/02/2026"), std::nullopt);
    EXPECT_EQ(ParseDate(u"2026-03-07"), std::nullopt);
    EXPECT_EQ(ParseDate(u"07/03/26"), std::nullopt);
    EXPECT_EQ(FormatNumber(1234.5), "1234,5");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0,3");
}

// How each kind of cell reads as text, number and date.
TEST(ValueConversion, ReadsEveryKindAsEveryType) {
    struct Case {
        Value value;
        QString text;
        double number;
        QDate date;
    } cases[] = {
        {Value(), "", 0.0, ZeroDate()},
        {Value("1.234,5"), "1.234,5", 1234.5, QDate()},
        {Value("07/03/2026"), "07/03/2026", std::nan(""), QDate(2026, 3, 7)},
        {Value("   "), "   ", 0.0, ZeroDate()},
        {Value(2.5), "2,5", 2.5, QDate(1900, 1, 1)},
        {Value(QDate(1900, 1, 1)), "01/01/1900", 2.0, QDate(1900, 1, 1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextOf(c.value), c.text);
        if (std::isnan(c.number)) {
            EXPECT_THROW(FloatOf(c.value, u"X"), EError);
        } else {
            EXPECT_EQ(FloatOf(c.value, u"X"), c.number) << c.text.toStdString();
        }
        if (c.date.isValid()) {
            EXPECT_EQ(DateOf(c.value, u"X"), c.date) << c.text.toStdString();
        } else {
            EXPECT_THROW(DateOf(c.value, u"X"), EError);
        }
    }
}

TEST(ValueConversion, CoercesToTheFieldTypeOrRefusesWithTheFieldNamed) {
    struct Case {
        Value given;
        FieldType type;
        int size;
        std::optional<Value> stored;  // nothing: refused
    } cases[] = {
        {Value("1.234,5"), FieldType::Float, 0, Value(1234.5)},
        {Value("  "), FieldType::Float, 0, Value()},
        {Value("1,2,3"), FieldType::Float, 0, std::nullopt},
        {Value(QDate(1900, 1, 1)), FieldType::Float, 0, Value(2.0)},
        {Value("7/3/2026"), FieldType::DateTime, 0, Value(QDate(2026, 3, 7))},
        {Value(""), FieldType::DateTime, 0, Value()},
        {Value("32/01/2026"), FieldType::DateTime, 0, std::nullopt},
        {Value(2.75), FieldType::DateTime, 0, Value(QDate(1900, 1, 1))},
        {Value(-0.5), FieldType::DateTime, 0, Value(QDate(1899, 12, 29))},
        {Value(1e12), FieldType::DateTime, 0, std::nullopt},
        {Value(std::numeric_limits<double>::infinity()), FieldType::DateTime, 0, std::nullopt},
        {Value(QDate()), FieldType::DateTime, 0, Value()},
        {Value("abcd"), FieldType::String, 4, Value("abcd")},
        {Value("abcde"), FieldType::String, 4, std::nullopt},
        {Value(""), FieldType::String, 4, Value("")},
        {Value(12.5), FieldType::String, 4, Value("12,5")},
        {Value(), FieldType::String, 4, Value()},
    };
    for (const auto& c : cases) {
        if (c.stored) {
            EXPECT_EQ(Coerce(c.given, c.type, c.size, u"Campo"), *c.stored)
                << TextOf(c.given).toStdString();
        } else {
            try {
                Coerce(c.given, c.type, c.size, u"Nº Comensais");
                ADD_FAILURE() << "accepted " << TextOf(c.given).toStdString();
            } catch (const EError& e) {
                EXPECT_TRUE(e.Message().contains(u"'Nº Comensais'")) << e.Message().toStdString();
            }
        }
    }
}

class FieldText : public ::testing::Test {
  protected:
    void SetUp() override {
        data.AddField({"QTCOMEFATU", FieldType::Float});
        data.AddField({"DTFATURAM", FieldType::DateTime});
        data.AddField({"NMSERVICO", FieldType::String, 10});
        data.Open();
        data.Append();
    }
    Field& Quantity() { return data.FieldByName("QTCOMEFATU"); }
    ClientDataSet data{"cdsTexto"};
};

TEST_F(FieldText, DisplayAndEditTextFollowTheFormats) {
    struct Case {
        const char* display;
        const char* edit;
        double value;
        const char* shown;
        const char* edited;
    } cases[] = {
        {"#,##0.000", "#0.000", 1234.5, "1.234,500", "1234,500"},
        {"#,##0.00000", "", 1234.5, "1.234,50000", "1.234,50000"},
        {"", "", 1234.5, "1234,5", "1234,5"},
        {"#,##0.000", "#0.000", -0.0, "0,000", "0,000"},
    };
    for (const auto& c : cases) {
        Quantity().SetDisplayFormat(c.display);
        Quantity().SetEditFormat(c.edit);
        Quantity().SetAsFloat(c.value);
        EXPECT_EQ(Quantity().DisplayText(), QString::fromUtf8(c.shown));
        EXPECT_EQ(Quantity().Text(), QString::fromUtf8(c.edited));
        // What the editor shows comes back as the same number.
        Quantity().SetText(Quantity().Text());
        EXPECT_EQ(Quantity().AsFloat(), c.value);
    }
    Quantity().Clear();
    EXPECT_EQ(Quantity().DisplayText(), "");
    EXPECT_TRUE(Quantity().IsNull());
}

TEST_F(FieldText, DatesShowAsDayMonthYearAndNullAsNothing) {
    Field& date = data.FieldByName("DTFATURAM");
    EXPECT_EQ(date.DisplayText(), "");
    EXPECT_EQ(date.AsDateTime(), ZeroDate());
    EXPECT_EQ(date.AsFloat(), 0.0);
    date.SetText("10/3/2026");
    EXPECT_EQ(date.DisplayText(), "10/03/2026");
    EXPECT_EQ(date.AsFloat(), 46091.0);
    date.SetDisplayFormat("dddd, d 'de' MMMM");
    EXPECT_EQ(date.DisplayText(), QString::fromUtf8("terça-feira, 10 de março"));
    EXPECT_EQ(date.Text(), QString::fromUtf8("terça-feira, 10 de março"));
    date.SetEditFormat("dd/MM/yyyy");
    EXPECT_EQ(date.Text(), "10/03/2026");
    date.SetAsFloat(46092.9);  // day arithmetic keeps the day part
    EXPECT_EQ(date.AsDateTime(), QDate(2026, 3, 11));
}

TEST_F(FieldText, BadTextIsRefusedInPortugueseAndLeavesTheValue) {
    Quantity().SetAsFloat(7);
    try {
        Quantity().SetText("sete");
        FAIL() << "accepted";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), QString::fromUtf8("'sete' não é um número válido para o campo "
                                                 "'QTCOMEFATU'."));
    }
    EXPECT_EQ(Quantity().AsFloat(), 7.0);
    Quantity().SetDisplayLabel(QString::fromUtf8("Nº Comensais Faturados"));
    try {
        data.FieldByName("DTFATURAM").SetAsString("30/02/2026");
        FAIL() << "accepted";
    } catch (const EError& e) {
        EXPECT_TRUE(e.Message().contains(u"não é uma data válida")) << e.Message().toStdString();
    }
    EXPECT_THROW(data.FieldByName("NMSERVICO").SetAsString("texto longo demais"), EError);
}

TEST_F(FieldText, FormatsAreCheckedWhenGiven) {
    EXPECT_THROW(Quantity().SetDisplayFormat("R$ #"), EError);
    EXPECT_EQ(Quantity().DisplayFormat(), "");
    Quantity().SetEditFormat("#0.0");
    EXPECT_THROW(Quantity().SetEditFormat("#0,0.0"), EError);
    EXPECT_EQ(Quantity().EditFormat(), "#0.0");
    EXPECT_THROW(data.FieldByName("NMSERVICO").SetDisplayFormat("#0"), EError);
    data.FieldByName("NMSERVICO").SetDisplayFormat("");
}

TEST_F(FieldText, TextEventsReplaceTheFormats) {
    Field& name = data.FieldByName("NMSERVICO");
    name.OnGetText = [](const Field& field, QString& text, bool display) {
        text = (display ? QStringLiteral("<%1>") : QStringLiteral("[%1]")).arg(field.AsString());
    };
    name.OnSetText = [](Field& field, const QString& text) { field.SetAsString(text.toUpper()); };
    name.SetText("almoço");
    EXPECT_EQ(name.AsString(), QString::fromUtf8("ALMOÇO"));
    EXPECT_EQ(name.DisplayText(), QString::fromUtf8("<ALMOÇO>"));
    EXPECT_EQ(name.Text(), QString::fromUtf8("[ALMOÇO]"));
}

}  // namespace
}  // namespace fai
