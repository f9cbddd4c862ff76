// Posting a headcount row: its checks in their order, the column exits and the confirm.
#include "HeadcountFixture.h"

using namespace fai;
using namespace fai::testing;

class PostingTest : public QObject {
    Q_OBJECT
};

FAI_UI_TEST_MAIN(PostingTest)
#include "test_posting.moc"
