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

# A packet is written row by row and travels column by column: `fields` names them, each row
# adds its cells (null, text T, number N, day D, as the functions below print them) to the
# columns of its kind, and `packet_text` prints the whole in protobuf's text format.
null() { echo null; }
text() { echo "t:$1"; }
number() { if [ "$1" = null ]; then null; else echo "n:$1"; fi; }
day() { echo "d:$1"; }

declare -a FIELD_TEXT=() CHANGES=()
declare -A COLUMN=() PLACES=() TEXTS=()
fields() { # fields NAME:TYPE[:SIZE]...
  FIELD_TEXT=() CHANGES=() COLUMN=() PLACES=() TEXTS=()
  local spec name type size
  for spec in "$@"; do
    IFS=: read -r name type size <<<"$spec"
    FIELD_TEXT+=("fields { name: \"$name\" type: FIELD_$type size: ${size:-0} }")
  done
}
# cells SIDE CELL...: one row's cells into the columns of SIDE (values or original).
cells() {
  local side=$1 column=0 cell key place
  shift
  for cell in "$@"; do
    key="$side:$column"
    case "$cell" in
      null) COLUMN[$key]+=" cells: 0" ;;
      t:*)
        place=${PLACES[$key:${cell#t:}]:-}
        if [ -z "$place" ]; then
          place=$((${TEXTS[$key.count]:-0} + 1))
          TEXTS[$key.count]=$place
          PLACES[$key:${cell#t:}]=$place
          TEXTS[$key]+=" texts: \"${cell#t:}\""
        fi
        COLUMN[$key]+=" cells: $place" ;;
      n:*) COLUMN[$key]+=" cells: 1"; TEXTS[$key]+=" numbers: ${cell#n:}" ;;
      d:*) COLUMN[$key]+=" cells: 1"; TEXTS[$key]+=" days: ${cell#d:}" ;;
    esac
    column=$((column + 1))
  done
}
# row CHANGE [values CELL...] [original CELL...]
row() {
  CHANGES+=("changes: $1")
  shift
  local side="" list=()
  for word in "$@" end; do
    if [ "$word" = values ] || [ "$word" = original ] || [ "$word" = end ]; then
      [ -n "$side" ] && cells "$side" "${list[@]}"
      side=$word list=()
    else
      list+=("$word")
    fi
  done
}
packet_text() {
  local side column
  echo "${FIELD_TEXT[*]} ${CHANGES[*]}"
  for side in values original; do
    [ -n "${COLUMN[$side:0]:-}" ] || continue
    for ((column = 0; column < ${#FIELD_TEXT[@]}; column++)); do
      echo "$side { ${COLUMN[$side:$column]} ${TEXTS[$side:$column]:-} }"
    done
  done
}

HEADCOUNT_FIELDS="CDFILIAL:STRING:4 CDSERVFILI:STRING:5 NMSERVICO:STRING:40 DTFATURAM:DATETIME
  CDCLIENTE:STRING:21 QTCOMEFATU:FLOAT CDFILIFATU:STRING:4 NRAPURACFAT:STRING:10
  QTCOMEPREV:FLOAT VRSERVFATUDT:FLOAT DSEMISSERCLI:STRING:400"
# headcount SERVICE DAY BILLED FORECAST, counts not stored yet being "null".
headcount() {
  echo "$(text 0002) $(text "$1") $(text ALMOÇO) $(day "$2") $(text J61963537000141)
    $(number "$3") $(null) $(null) $(number "$4") $(number "${5:-0}") $(text 'Refeição\040almoço')"
}
SHIFT_FIELDS="CDTURNO:STRING:1 NMTURNO:STRING:10 CDFILIAL:STRING:4 CDSERVFILI:STRING:5
  CDCLIENTE:STRING:21 DTFATURAMTUR:DATETIME QTCOMFATUTUR:FLOAT"
shift_row() {
  echo "$(text 1) $(text MANHA) $(text 0002) $(text 00001) $(text J61963537000141) $(day $DAY)
    $(number "$1")"
}
LINK_FIELDS="NRITRATEFECLIFAT:FLOAT CDFILIAL:STRING:4 CDSERVFILI:STRING:5 CDCLIENTE:STRING:21
  DTFATURAM:DATETIME CDSERVPLAN:STRING:5 NRITEMRATEIOEFET:FLOAT CDITEMRATEIOEFET:STRING:5
  NMITEMRATEIOEFET:STRING:50 QTEFETIVOS:FLOAT"
# link_row LINK DINERS, a new link having no number of its own ("null").
link_row() {
  echo "$(number "$1") $(text 0002) $(text 00001) $(text J61963537000141) $(day $NEW_DAY)
    $(text 00001) $(number 1) $(text 00001) $(text 'ALA\040NORTE') $(number "$2")"
}

# Cells are words: a space in a text of the seeds is written \040.
SCREEN=$(
  fields $HEADCOUNT_FIELDS
  row ROW_UNCHANGED values $(headcount 00001 $DAY 287 310)
  row ROW_UNCHANGED values $(headcount 00002 $DAY 135 139)
  packet_text
)
# A day after the demo's last: lunch typed, dinner typed over a row not stored, supper deleted
# before it was ever stored; and lunch apportioned.
NEW_DAY=46092
HEADCOUNT_DELTA=$(
  fields $HEADCOUNT_FIELDS
  row ROW_INSERTED values $(headcount 00001 $NEW_DAY 100 100)
  row ROW_MODIFIED values $(headcount 00002 $NEW_DAY 40 45) \
    original $(headcount 00002 $NEW_DAY null null null)
  row ROW_DELETED original $(headcount 00003 $NEW_DAY null null null)
  packet_text
)
SHIFT_DELTA=$(
  fields $SHIFT_FIELDS
  row ROW_MODIFIED values $(shift_row 150) original $(shift_row 140)
  packet_text
)
LINK_DELTA=$(
  fields $LINK_FIELDS
  row ROW_MODIFIED values $(link_row -1 80) original $(link_row null 0)
  packet_text
)

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
