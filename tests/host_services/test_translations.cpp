#include "QtTranslations.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace fai {
namespace {

// The buttons Qt makes itself, in its standard dialogs too, speak the program's language.
TEST(QtTranslations, StandardButtonsArePortuguese) {
    ASSERT_TRUE(LoadQtTranslations());
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
              QStringLiteral("Cancelar"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text().remove(QLatin1Char('&')),
              QStringLiteral("Salvar"));
}

}  // namespace
}  // namespace fai
