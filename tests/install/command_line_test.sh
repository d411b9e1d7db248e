#!/usr/bin/env bash
# The real program answers its command line before Qt starts: without any display, with
# the right exit status and output, and without making a data folder.
# command_line_test.sh PROGRAM VERSION
set -u
program="$1"
version="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
touch "$tmp/a-file"
failures=0

# case STATUS STDOUT-PATTERN STDERR-PATTERN ARGUMENTS...: the exit status, and an extended
# regular expression each for the whole of stdout and of stderr ('' = must be empty).
case_() {
    local status="$1" out_pattern="$2" err_pattern="$3"
    shift 3
    rm -rf "$tmp/home"
    mkdir "$tmp/home"
    (cd "$tmp/home" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$tmp/home" \
        "$program" "$@" >"$tmp/out" 2>"$tmp/err" </dev/null)
    local got=$?
    local out err
    out="$(cat "$tmp/out")"
    err="$(cat "$tmp/err")"
    local problem=""
    [ "$got" -eq "$status" ] || problem+=" status $got (want $status);"
    if [ -z "$out_pattern" ]; then [ -z "$out" ] || problem+=" unexpected stdout;"
    elif ! [[ "$out" =~ ^${out_pattern}$ ]]; then problem+=" stdout does not match;"; fi
    if [ -z "$err_pattern" ]; then [ -z "$err" ] || problem+=" unexpected stderr;"
    elif ! [[ "$err" =~ ^${err_pattern}$ ]]; then problem+=" stderr does not match;"; fi
    [ ! -e "$tmp/home/PairlyLog" ] || problem+=" made ~/PairlyLog;"
    if [ -n "$problem" ]; then
        echo "FAIL pairlylog $*:$problem"
        echo "--- stdout:"; cat "$tmp/out"; echo "--- stderr:"; cat "$tmp/err"
        failures=$((failures + 1))
    else
        echo "ok   pairlylog $*"
    fi
}

line="[^"$'\n'"]*"
one_line="pairlylog: $line"
v="${version//./\\.}"
case_ 0 "ペアリー☆ログ $v" '' --version
case_ 0 "ペアリー☆ログ $v" '' some-folder --version
case_ 0 "使い方: pairlylog \[フォルダー\]"$'\n'".*--version.*--help.*" '' --help
case_ 0 "使い方: pairlylog \[フォルダー\]"$'\n'".*" '' -h
case_ 2 '' "pairlylog: $line--bogus$line" --bogus
case_ 2 '' "$one_line" --version=2
case_ 2 '' "$one_line" one two
case_ 2 '' "$one_line" ''
case_ 1 '' "pairlylog: $line$tmp/a-file/sub$line" "$tmp/a-file/sub"

# The export and the import work without a window in a data folder given as FOLDER.
mkdir -p "$tmp/diary" "$tmp/empty"
# "2026/12/01","朝食前",60.5,20,1400,5,40,3,2.5,"a, b","" in CP932
printf '"2026/12/01","\x92\xa9\x90\x48\x91\x4f",60.5,20,1400,5,40,3,2.5,"a, b",""\r\n' \
    >"$tmp/diary/データ1.txt"
# A registered partner without weighings: "氏名","はなこ" in CP932
printf '"\x8e\x81\x96\xbc","\x82\xcd\x82\xc8\x82\xb1"\r\n' \
    >"$tmp/empty/ﾌﾟﾗｲﾍﾞｰﾄ1.txt"
case_ 0 "1 件の測定を $tmp/out.csv に書き出しました" '' "$tmp/diary" --export-csv "$tmp/out.csv"
expected="$(printf '\xef\xbb\xbfpartner,nickname,date,situation,weight,bodyFat,basalMetabolism,visceralFat,muscleMass,muscleScore,boneMass,comment\r\n1,,2026-12-01,朝食前,60.5,20,1400,5,40,3,2.5,"a, b"\r\n_')"
if [ "$(cat "$tmp/out.csv"; printf _)" != "$expected" ]; then
    echo "FAIL the exported file differs:"; od -c "$tmp/out.csv" | head; failures=$((failures + 1))
fi
case_ 0 "取り込み 1 件、スキップ 0 件" '' "$tmp/empty" --import-csv "$tmp/out.csv" --partner 1
cmp -s "$tmp/diary/データ1.txt" "$tmp/empty/データ1.txt" ||
    { echo "FAIL the imported log differs"; failures=$((failures + 1)); }
case_ 0 "取り込み 0 件、スキップ 1 件" '' "$tmp/empty" --import-csv "$tmp/out.csv" --partner 1
case_ 1 '' "$one_line" "$tmp/empty" --import-csv "$tmp/out.csv" --partner 2
case_ 1 '' "pairlylog: 二人目がまだ登録されていません$line" "$tmp/diary" --import-csv "$tmp/out.csv" --partner 2
case_ 1 '' "$one_line" "$tmp/empty" --import-csv "$tmp/none.csv" --partner 1
case_ 1 '' "$one_line" --export-csv "$tmp/home-out.csv"
case_ 2 '' "$one_line" --import-csv "$tmp/out.csv"
case_ 2 '' "pairlylog: --import-csv には読み込むファイルの名前を指定してください" "$tmp/empty" --import-csv --partner 2

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }
