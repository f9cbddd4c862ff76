#!/usr/bin/env bash
# The two Debian packages as an administrator gets them: made by cpack from this build, their
# contents and control data checked, then both unpacked and their programs run from the
# unpacked tree (not the build tree) against each other: the server from its configuration
# file, its health probe, the host's help, and a listing written to PDF through the server.
set -euo pipefail
build=$1
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FALHOU: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$work/debs") >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
server_deb=$(echo "$work"/debs/fai-appserver_*.deb)
host_deb=$(echo "$work"/debs/fai-host_*.deb)
[ -f "$server_deb" ] && [ -f "$host_deb" ] || fail "pacotes: $(ls "$work/debs")"

holds() { # DEB FILE...
  local deb=$1 listed
  shift
  listed=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|')
  for file in "$@"; do
    grep -qx -- "$file" <<<"$listed" || fail "$(basename "$deb") sem $file"
  done
}
holds "$server_deb" /usr/bin/fai-appserver /usr/lib/fai-appserver/libfai_appserver.so \
  /usr/lib/fai-appserver/libfai_contract.so /usr/lib/fai-appserver/libfai_host_data.so \
  /usr/lib/systemd/system/fai-appserver.service /etc/fai-appserver/fai-appserver.conf
holds "$host_deb" /usr/bin/fai-host /usr/lib/fai-host/Pkg_fai00400.so /etc/fai-host/fai-host.ini \
  /usr/lib/fai-host/libfai_host_ui.so /usr/share/applications/fai-host.desktop \
  /usr/share/icons/hicolor/scalable/apps/fai-host.svg \
  /usr/share/fai-host/reports/Fai004-listagem-de-comensais.xml \
  /usr/share/fai-host/reports/Fai004-resumo-por-servico.xml \
  /usr/share/fai-host/help/FaiHelp/13300401.html

# Dependencies computed from the libraries, plus the plugins and translations Qt loads by
# name.
server_depends=$(dpkg-deb -f "$server_deb" Depends)
host_depends=$(dpkg-deb -f "$host_deb" Depends)
for needed in "libgrpc++1.51" libqt6sql6 libqt6sql6-sqlite libqt6sql6-psql adduser; do
  grep -q -- "$needed" <<<"$server_depends" || fail "fai-appserver não depende de $needed: $server_depends"
done
for needed in "libgrpc++1.51" libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins \
  qt6-translations-l10n; do
  grep -q -- "$needed" <<<"$host_depends" || fail "fai-host não depende de $needed: $host_depends"
done
# The host reads through the server: nothing of it can open a database.
! grep -q -- libqt6sql <<<"$host_depends" || fail "fai-host depende de um banco: $host_depends"
dpkg-deb -I "$server_deb" conffiles | grep -qx /etc/fai-appserver/fai-appserver.conf ||
  fail "a configuração do servidor não é um conffile"
dpkg-deb -I "$host_deb" conffiles | grep -qx /etc/fai-host/fai-host.ini ||
  fail "a configuração do host não é um conffile"
for script in postinst prerm postrm; do
  dpkg-deb -I "$server_deb" "$script" >/dev/null || fail "fai-appserver sem $script"
done
grep -q '^ExecStart=/usr/bin/fai-appserver --config /etc/fai-appserver/fai-appserver.conf$' \
  <(dpkg-deb --fsys-tarfile "$server_deb" | tar -xO ./usr/lib/systemd/system/fai-appserver.service) ||
  fail "a unidade não roda o servidor com sua configuração"

root=$work/root
dpkg-deb -x "$server_deb" "$root"
dpkg-deb -x "$host_deb" "$root"
for linked in "$root"/usr/bin/fai-host "$root"/usr/lib/fai-host/*.so*; do
  ! readelf -d "$linked" | grep -q 'NEEDED.*\(libQt6Sql\|libpq\|libsqlite3\)' ||
    fail "$(basename "$linked") liga a um banco de dados"
done
for program in fai-appserver fai-host; do
  runpath=$(readelf -d "$root/usr/bin/$program" | grep -E 'RUNPATH|RPATH' || true)
  grep -q "\$ORIGIN/../lib/$program" <<<"$runpath" || fail "$program: $runpath"
  ! grep -q "$build" <<<"$runpath" || fail "$program procura bibliotecas na compilação: $runpath"
done

# The server from a configuration file like the installed one, its port chosen by the system.
cat >"$work/fai-appserver.conf" <<CONF
listen = 127.0.0.1:0
database = sqlite:$work/fai00400.sqlite
demo = sim
CONF
env -u LD_LIBRARY_PATH "$root/usr/bin/fai-appserver" --config "$work/fai-appserver.conf" \
  2>"$work/server.log" &
server=$!
port=
for _ in $(seq 1 300); do
  port=$(sed -n 's/.*escutando na porta \([0-9]*\).*/\1/p' "$work/server.log")
  [ -n "$port" ] && break
  kill -0 "$server" 2>/dev/null || { cat "$work/server.log" >&2; fail "o servidor terminou"; }
  sleep 0.1
done
[ -n "$port" ] || fail "o servidor não escutou: $(cat "$work/server.log")"

health=$(env -u LD_LIBRARY_PATH "$root/usr/bin/fai-appserver" --health "127.0.0.1:$port") ||
  fail "a sonda de saúde: $health"
[ "$health" = "127.0.0.1:$port em serviço" ] || fail "a sonda de saúde disse: $health"

export QT_QPA_PLATFORM=offscreen HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
env -u LD_LIBRARY_PATH "$root/usr/bin/fai-host" --help | grep -q -- "--report" ||
  fail "fai-host --help"

# The listing under a title only the unpacked definition has: the host reads the reports
# installed beside it, and loads the module installed beside it.
sed -i 's/title="Listagem de Comensais"/title="Listagem instalada"/' \
  "$root/usr/share/fai-host/reports/Fai004-listagem-de-comensais.xml"
today=$(date +%d/%m/%Y)
month_ago=$(date -d '-29 days' +%d/%m/%Y)
env -u LD_LIBRARY_PATH "$root/usr/bin/fai-host" --server "127.0.0.1:$port" \
  --branch 0001 --report Fai004 \
  --title "Listagem instalada" --from "$month_ago" --to "$today" --pdf "$work/listagem.pdf" ||
  fail "a listagem pelo host instalado"
pdftotext "$work/listagem.pdf" - | grep -q "Total da Filial" || fail "a listagem não tem totais"
grep -q " GeraRel " "$work/server.log" || fail "o servidor não gerou a listagem"
echo "pacotes: $(basename "$server_deb") e $(basename "$host_deb") conferidos e executados"
