#include "PacketShapes.h"

namespace fai::appserver::shapes {
namespace {

FieldDef Text(const char* name, int size) {
    return {QString::fromLatin1(name), FieldType::String, size, false};
}
FieldDef Flag(const char* name) { return {QString::fromLatin1(name), FieldType::String, 1, true}; }
FieldDef Number(const char* name) {
    return {QString::fromLatin1(name), FieldType::Float, 0, false};
}
FieldDef Day(const char* name) {
    return {QString::fromLatin1(name), FieldType::DateTime, 0, false};
}

}  // namespace

const Shape& Params() {
    static const Shape shape{Text("CDFILIAL", 4), Day("DTPROCESSA"), Text("IDBLQEFEDIAFECH", 1),
                             Number("NRDIAANTDTPROC"), Text("IDUTILDTPROC", 1)};
    return shape;
}

const Shape& Clients() {
    static const Shape shape{Text("CDCLIENTE", 21), Text("IDTPIJURCLIE", 1),
                             Text("NRINSJURCLIE", 20), Text("NMRAZSOCCLIE", 50),
                             Text("NMFANTCLIE", 50)};
    return shape;
}

const Shape& Services() {
    static const Shape shape{Text("CDSERVFILI", 5), Text("NMSERVICO", 40), Flag("IDCONSCOMFAT"),
                             Flag("IDVLRVARDATA")};
    return shape;
}

const Shape& Headcounts() {
    static const Shape shape{
        Text("CDFILIAL", 4),    Text("CDSERVFILI", 5),    Text("NMSERVICO", 40),
        Day("DTFATURAM"),       Text("CDCLIENTE", 21),    Number("QTCOMEFATU"),
        Text("CDFILIFATU", 4),  Text("NRAPURACFAT", 10),  Number("QTCOMEPREV"),
        Number("VRSERVFATUDT"), Text("DSEMISSERCLI", 400)};
    return shape;
}

const Shape& AssessedPeriods() {
    static const Shape shape{Text("CDFILIAL", 4), Text("CDCLIENTE", 21), Text("NRAPURACFAT", 10),
                             Day("DTINIAPURAC"), Day("DTFIMAPURAC")};
    return shape;
}

const Shape& ApportionItems() {
    static const Shape shape{Text("CDCLIENTE", 21), Number("NRITEMRATEIOEFET"),
                             Text("CDITEMRATEIOEFET", 5), Text("NMITEMRATEIOEFET", 50)};
    return shape;
}

const Shape& BillingDate() {
    static const Shape shape{Day("DTFATURAM")};
    return shape;
}

const Shape& PlannedCount() {
    static const Shape shape{Number("QTCOMEFETCLI")};
    return shape;
}

const Shape& Shifts() {
    static const Shape shape{Text("CDTURNO", 1),    Text("NMTURNO", 10),   Text("CDFILIAL", 4),
                             Text("CDSERVFILI", 5), Text("CDCLIENTE", 21), Day("DTFATURAMTUR"),
                             Number("QTCOMFATUTUR")};
    return shape;
}

const Shape& ShiftSum() {
    static const Shape shape{Number("SOMA")};
    return shape;
}

const Shape& ServiceOfClient() {
    static const Shape shape{Text("CDSERVFILI", 20)};
    return shape;
}

const Shape& HeadcountApportion() {
    static const Shape shape{Number("NRITRATEFECLIFAT"),
                             Text("CDFILIAL", 4),
                             Text("CDSERVFILI", 5),
                             Text("CDCLIENTE", 21),
                             Day("DTFATURAM"),
                             Text("CDSERVPLAN", 5),
                             Number("NRITEMRATEIOEFET"),
                             Text("CDITEMRATEIOEFET", 5),
                             Text("NMITEMRATEIOEFET", 50),
                             Number("QTEFETIVOS")};
    return shape;
}

}  // namespace fai::appserver::shapes
