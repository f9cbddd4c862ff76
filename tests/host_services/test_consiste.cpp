#include "Consiste.h"
#include "DialogService.h"
#include "Errors.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include "QtPrinters.h"

namespace fai {

TEST(Consiste, EmptyStringCountsOnlyLettersAndDigitsAsValue) {
    const struct {
        const char* text;
        bool empty;
    } cases[] = {{"", true},   {"   ", true},  {"  /  /    ", true},  {"__/__/____", true},
                 {"0", false}, {" a ", false}, {"01/01/2026", false}, {"-", true}};
    for (const auto& c : cases)
        EXPECT_EQ(EmptyString(QString::fromUtf8(c.text)), c.empty) << c.text;
}

TEST(Consiste, AjustaLeftFillsWithZerosAndKeepsLongerCodes) {
    const struct {
        const char* code;
        int width;
        const char* fitted;
    } cases[] = {{"1", 4, "0001"}, {" 12 ", 4, "0012"}, {"0001", 4, "0001"}, {"", 4, ""},
                 {"   ", 5, ""},   {"7", 5, "00007"},   {"SP1", 4, "0SP1"},  {"12345", 4, "12345"}};
    for (const auto& c : cases)
        EXPECT_EQ(Ajusta(QString::fromUtf8(c.code), c.width), QString::fromUtf8(c.fitted))
            << c.code;
}

TEST(Consiste, RegistrationNumbersAreNormalisedAndShownWithTheirPersonTypeMask) {
    QString typed = QStringLiteral(" 12.345.678/0001-95 ");
    Ajusta_Inscricao(typed);
    EXPECT_EQ(typed, QStringLiteral("12345678000195"));
    QString cpf = QStringLiteral("123.456.789-09");
    Ajusta_Inscricao(cpf);
    EXPECT_EQ(cpf, QStringLiteral("12345678909"));

    EXPECT_EQ(FormatMaskText(PictPess("J"), "12345678000195"),
              QStringLiteral("12.345.678/0001-95"));
    EXPECT_EQ(FormatMaskText(PictPess("F"), "12345678909"), QStringLiteral("123.456.789-09"));
    EXPECT_EQ(PictPess("X"), QString());
    EXPECT_EQ(FormatMaskText(PictPess("X"), "ABC"), QStringLiteral("ABC"));
    // A short value ends where its characters end; a long one keeps its tail.
    EXPECT_EQ(FormatMaskText(PictPess("F"), "1234"), QStringLiteral("123.4"));
    EXPECT_EQ(FormatMaskText("99-99;0;_", "123456"), QStringLiteral("12-3456"));
    EXPECT_EQ(FormatMaskText(">aaaa;0; ", "ab12"), QStringLiteral("ab12"));
}

TEST(Consiste, MaxNumberKeepsTypedNumbersWithinTheirLimits) {
    const struct {
        const char* text;
        int before, after;
        char key;
        int selStart, selLength;
        bool accepted;
    } cases[] = {
        {"", 9, 3, '5', 0, 0, true},
        {"123456789", 9, 3, '1', 9, 0, false},  // a tenth integer digit
        {"123456789", 9, 3, ',', 9, 0, true},
        {"123456789,12", 9, 3, '3', 12, 0, true},
        {"123456789,123", 9, 3, '4', 13, 0, false},  // a fourth decimal
        {"123456789", 9, 3, '1', 0, 9, true},        // typing over the whole selection
        {"12,5", 9, 3, ',', 4, 0, false},            // a second separator
        {"12", 9, 3, '.', 2, 0, true},
        {"", 7, 3, '-', 0, 0, true},
        {"12", 7, 3, '-', 2, 0, false},  // minus only in front
        {"12", 7, 3, 'a', 2, 0, false},
        {"1234567", 7, 3, '\b', 7, 0, true},   // control keys always pass
        {"1234567", 7, 3, '8', 3, 1, true},    // replaces one digit
        {"1234567", 7, 3, '8', 99, 5, false},  // selection beyond the text is clamped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MaxNumber(c.text, c.before, c.after, QChar(c.key), c.selStart, c.selLength),
                  c.accepted)
            << c.text << " + " << c.key;
    }
}

TEST(Consiste, DatesAndNumbersUseBrazilianConventions) {
    EXPECT_EQ(NomeSemana(QDate(2026, 12, 6)), QStringLiteral("Domingo"));
    EXPECT_EQ(NomeSemana(QDate(2026, 12, 8)), QStringLiteral("Terça"));
    EXPECT_EQ(NomeSemana(QDate(2026, 12, 12)), QStringLiteral("Sábado"));
    EXPECT_EQ(NomeSemana(QDate(1899, 12, 30)), QString());
    EXPECT_EQ(NomeSemana(QDate()), QString());
    EXPECT_EQ(DateToStr(QDate(2026, 3, 7)), QStringLiteral("07/03/2026"));

    const struct {
        double value;
        const char* text;
    } numbers[] = {{20, "20"},
                   {0.5, "0,5"},
                   {100.5, "100,5"},
                   {1234.5, "1234,5"},
                   {-3, "-3"},
                   {0, "0"},
                   {1.0 / 3, "0,333333333333333"},
                   {0.1 + 0.2, "0,3"}};
    for (const auto& n : numbers)
        EXPECT_EQ(FloatToStr(n.value), QString::fromUtf8(n.text)) << n.text;
}

TEST(Consiste, FormatFillsEachPlaceholderInOrder) {
    const struct {
        const char* message;
        QStringList texts;
        const char* text;
    } cases[] = {{"difere de %s da quantidade que é %s.",
                  {"20", "100"},
                  "difere de 20 da quantidade que é 100."},
                 {"100%% de %s", {"50"}, "100% de 50"},
                 {"faltou %s e %s", {"um"}, "faltou um e %s"},
                 {"sem marcas", {"x"}, "sem marcas"},
                 {"%s%s", {"%s", "b"}, "%sb"},
                 {"termina em %", {}, "termina em %"}};
    for (const auto& c : cases)
        EXPECT_EQ(Format(QString::fromUtf8(c.message), c.texts), QString::fromUtf8(c.text))
            << c.message;
}

TEST(Consiste, MensErroShowsTheTextThenAbortsSilently) {
    auto& dialogs = DialogService::Instance();
    dialogs.ClearShown();
    dialogs.SetMessageScript([](const ShownMessage&) { return int(mrOk); });
    EXPECT_THROW(MensErro(QStringLiteral("Filial deve ser informada.")), EAbort);
    EXPECT_NO_THROW(MensErro(QStringLiteral("Aviso"), false));
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_EQ(dialogs.Shown()[0].kind, DialogKind::Error);
    EXPECT_EQ(dialogs.Shown()[0].text, QStringLiteral("Filial deve ser informada."));
    dialogs.ClearScripts();
}

TEST(Consiste, SetChildEnabledSwitchesTheDirectChildren) {
    QWidget panel;
    auto* edit = new QLineEdit(&panel);
    auto* label = new QLabel(&panel);
    SetChildEnabled(&panel, false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(label->isEnabled());
    EXPECT_TRUE(panel.isEnabled());
    SetChildEnabled(&panel, true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_NO_THROW(SetChildEnabled(nullptr, true));
}

}  // namespace fai
