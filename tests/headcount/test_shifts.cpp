// The "Turno" tab of the headcount screen.
#include "HeadcountFixture.h"

using namespace fai;
using namespace fai::testing;

class ShiftsTest : public QObject {
    Q_OBJECT
};

FAI_UI_TEST_MAIN(ShiftsTest)
#include "test_shifts.moc"
