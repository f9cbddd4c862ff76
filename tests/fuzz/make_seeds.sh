#!/usr/bin/env bash
# Writes the seeds of the fuzz targets' corpus from the readable requests below: a call of
# every method on the demo data of 10/03/2026 that fuzz_requests serves (branch 0002, client
# J61963537000141 with shifts and apportionment items, lunch 00001 on 05/03/2026), and the
# packets they carry. An input that once made a target fail is kept in the corpus beside the
# seeds, under its own name, and replayed by the tests; this script never touches those.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
requests=$here/corpus/fuzz_requests
packets=$here/corpus/fuzz_packet_conversion
mkdir -p "$requests" "$packets"
rm -f "$requests"/seed-* "$packets"/seed-*

encode() { protoc --proto_path="$here/../../server" --encode="Fai00400.$1" fai00400.proto; }

# request NAME METHOD-INDEX MESSAGE: the method's index in fuzz_requests' table, then the
# request read from standard input in protobuf's text format.
request() {
  { printf "\\x$(printf %02x "$2")"; encode "$3"; } >"$requests/seed-$1"
}
packet() { encode DataPacket >"$packets/seed-$1"; }

B='branch: "0002"'
C='client: "J61963537000141"'
S='service: "00001"'
DAY=46086 # 05/03/2026

null() { echo "values { }"; }
text() { echo "values { text: \"$1\" }"; }
number() { if [ "$1" = null ]; then null; else echo "values { number: $1 }"; fi; }
day() { echo "values { day: $1 }"; }
field() { echo "fields { name: \"$1\" type: FIELD_$2 size: ${3:-0} }"; }

HEADCOUNT_FIELDS="$(field CDFILIAL STRING 4) $(field CDSERVFILI STRING 5) $(field NMSERVICO STRING 40)
  $(field DTFATURAM DATETIME) $(field CDCLIENTE STRING 21) $(field QTCOMEFATU FLOAT)
  $(field CDFILIFATU STRING 4) $(field NRAPURACFAT STRING 10) $(field QTCOMEPREV FLOAT)
  $(field VRSERVFATUDT FLOAT) $(field DSEMISSERCLI STRING 400)"
# headcount SERVICE DAY BILLED FORECAST, counts not stored yet being "null".
headcount() {
  echo "$(text 0002) $(text "$1") $(text ALMOÇO) $(day "$2") $(text J61963537000141)
    $(number "$3") $(null) $(null) $(number "$4") $(number "${5:-0}") $(text 'Refeição almoço')"
}
SHIFT_FIELDS="$(field CDTURNO STRING 1) $(field NMTURNO STRING 10) $(field CDFILIAL STRING 4)
  $(field CDSERVFILI STRING 5) $(field CDCLIENTE STRING 21) $(field DTFATURAMTUR DATETIME)
  $(field QTCOMFATUTUR FLOAT)"
shift_row() {
  echo "$(text 1) $(text MANHA) $(text 0002) $(text 00001) $(text J61963537000141) $(day $DAY)
    $(number "$1")"
}
LINK_FIELDS="$(field NRITRATEFECLIFAT FLOAT) $(field CDFILIAL STRING 4) $(field CDSERVFILI STRING 5)
  $(field CDCLIENTE STRING 21) $(field DTFATURAM DATETIME) $(field CDSERVPLAN STRING 5)
  $(field NRITEMRATEIOEFET FLOAT) $(field CDITEMRATEIOEFET STRING 5)
  $(field NMITEMRATEIOEFET STRING 50) $(field QTEFETIVOS FLOAT)"
# link_row LINK DINERS, a new link having no number of its own ("null").
link_row() {
  echo "$(number "$1") $(text 0002) $(text 00001) $(text J61963537000141) $(day $NEW_DAY)
    $(text 00001) $(number 1) $(text 00001) $(text 'ALA NORTE') $(number "$2")"
}

SCREEN="$HEADCOUNT_FIELDS
  rows { $(headcount 00001 $DAY 287 310) }
  rows { $(headcount 00002 $DAY 135 139) }"
# original ROW...: the row's values as its originals.
original() { "$@" | sed 's/values/original/g'; }
# A day after the demo's last: lunch typed, dinner typed over a row not stored, supper deleted
# before it was ever stored; and lunch apportioned.
NEW_DAY=46092
HEADCOUNT_DELTA="$HEADCOUNT_FIELDS
  rows { change: ROW_INSERTED $(headcount 00001 $NEW_DAY 100 100) }
  rows { change: ROW_MODIFIED $(headcount 00002 $NEW_DAY 40 45)
         $(original headcount 00002 $NEW_DAY null null null) }
  rows { change: ROW_DELETED $(original headcount 00003 $NEW_DAY null null null) }"
SHIFT_DELTA="$SHIFT_FIELDS
  rows { change: ROW_MODIFIED $(shift_row 150) $(original shift_row 140) }"
LINK_DELTA="$LINK_FIELDS
  rows { change: ROW_MODIFIED $(link_row -1 80) $(original link_row null 0) }"

request GetParams 0 GetParamsRequest <<<"$B"
request GetCliente 1 GetClienteRequest <<<"$B registration_number: \"61963537000141\" $C"
request GetServico 2 GetServicoRequest <<<"$B $C"
request GetEfetFatu-by-date 3 GetEfetFatuRequest <<<"$C $B date: $DAY mode: 0"
request GetEfetFatu-by-service 3 GetEfetFatuRequest <<<"$C $B $S mode: 1"
request ImportaEfetTrans 4 GetEfetFatuRequest <<<"$C $B $S mode: 1"
request GetValidaData 5 GetValidaDataRequest <<<"$B $C $S date: $DAY"
request GetVerifData 6 GetVerifDataRequest <<<"$B $S $C"
request GetVlrFatPla 7 GetVlrFatPlaRequest <<<"$B $S $C date: $DAY"
request GetVerifSoma 8 GetVerifSomaRequest <<<"headcounts { $SCREEN }"
request UpdEfetFatu 9 UpdEfetFatuRequest <<<"headcount_delta { $HEADCOUNT_DELTA }
  null_fields: \"CDFILIFATU|NRAPURACFAT|\" apportionment_delta { $LINK_DELTA }"
request GetTurno 10 GetTurnoRequest <<<"$B $C $S date: $DAY"
request SetTurno 11 SetTurnoRequest <<<"shift_delta { $SHIFT_DELTA } null_fields: \"\""
request GetSomaTurno 12 GetTurnoRequest <<<"$B $C $S date: $DAY"
request GetVdServClie 13 GetVdServClieRequest <<<"$B $C $S"
request GetItRatEfet 14 GetItRatEfetRequest <<<"$B $C date: $DAY $S"
request UpDateServData 15 UpDateServDataRequest <<<"$B $C $S first_date: 46099 last_date: 46105
  forecast: 10 billed: 12"
request PrxRelFatur 16 PrxRelFaturRequest <<<"$B"
request GeraRel 17 GeraRelRequest <<<"$B first_date: 46082 last_date: 46112 report_number: \"1\""
request DeletaRel 18 DeletaRelRequest <<<"$B report_number: \"1\""
request GetHistEfetFatu 19 GetHistEfetFatuRequest <<<"$B $C $S first_date: $DAY last_date: $DAY page: 0 page_size: 50"

packet screen <<<"$SCREEN"
packet headcount-delta <<<"$HEADCOUNT_DELTA"
packet shift-delta <<<"$SHIFT_DELTA"
packet apportionment-delta <<<"$LINK_DELTA"
