#!/usr/bin/env bash
# Checks the installed programs and their desktop files, one row per call:
#   installed_program_test.sh ROW     runs one row (VORNALE_INSTALLED names the install prefix)
#   installed_program_test.sh --list  prints the rows
# Rows named gui_* run on their own virtual display and look at the real window: a capture
# of it is taken with ImageMagick and the level bar and level label are measured. The bar's
# fill and colour, and the label's text, come only from a finished calculation, so they show
# that the file was read and its results computed, without any hook in the program.
set -euo pipefail

self="$(readlink -f "$0")"
source_dir="$(dirname "$self")/../.."
prefix="${VORNALE_INSTALLED:-}"
bin="$prefix/bin/vornale-lite"
summary_bin="$prefix/bin/vornale-summary"
record_type=application/x-vornale-record
app_id=org.example.vornale.VornaleLite
skip=77

fail() { echo "FAIL: $*" >&2; exit 1; }
expect_eq() { [[ "$1" == "$2" ]] || fail "$3: got '$1', expected '$2'"; }

work=$(mktemp -d)
pids=()
cleanup() {
    # The program first, then its display.
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The worked example (120/80, pulse 70, male, 70 kg, 175 cm, 30 years) as a record file:
# Windows-1251, CR LF.
write_record() { # write_record PATH HEADER
    printf '%s\r\nИванов Иван\r\n120\r\n80\r\n70\r\n0\r\n70\r\n175\r\n30\r\n' "$2" | iconv -f UTF-8 -t CP1251 > "$1"
}

# --- Installed files ----------------------------------------------------------------------------

row_DesktopEntriesValidate() {
    local entries=("$prefix"/share/applications/*.desktop)
    [[ -f "${entries[0]}" ]] || fail "no desktop entry installed"
    local entry
    for entry in "${entries[@]}"; do
        desktop-file-validate "$entry" || fail "$entry does not validate"
    done
    local main="$prefix/share/applications/$app_id.desktop"
    grep -qx 'Exec=vornale-lite %f' "$main" || fail "Exec line"
    grep -qx "Icon=$app_id" "$main" || fail "Icon line"
    grep -q "^MimeType=.*$record_type;" "$main" || fail "record type not claimed"
    grep -q '^Comment\[ru\]=' "$main" || fail "no Russian comment"
    local summary="$prefix/share/applications/org.example.vornale.VornaleSummary.desktop"
    [[ -f "$summary" ]] || fail "no desktop entry for the summary"
    grep -qx 'Exec=vornale-summary %F' "$summary" || fail "summary Exec line"
    grep -qx "Icon=$app_id" "$summary" || fail "summary Icon line"
    grep -q '^Name\[ru\]=' "$summary" || fail "summary has no Russian name"
}

# Every installed program has its manual page, and man reads it without a warning.
row_ManualPagesForEveryProgram() {
    local program name page
    for program in "$prefix"/bin/*; do
        name=$(basename "$program")
        page="$prefix/share/man/man1/$name.1.gz"
        [[ -f "$page" ]] || fail "no manual page for $name"
        LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>"$work/err" >"$work/out" || fail "man $name"
        [[ ! -s "$work/err" ]] || fail "man $name: $(cat "$work/err")"
        grep -q "^NAME" "$work/out" || fail "man $name: no NAME section"
        grep -qF -- "--version" "$work/out" || fail "man $name does not describe --version"
    done
}

row_MetainfoValidates() {
    local files=("$prefix"/share/metainfo/*.metainfo.xml)
    [[ -f "${files[0]}" ]] || fail "no metainfo installed"
    local file
    for file in "${files[@]}"; do
        appstreamcli validate --no-net "$file" || fail "$file does not validate"
        # Each names a desktop entry that is installed beside it.
        local launchable
        launchable=$(xmllint --xpath 'string(//launchable[@type="desktop-id"])' "$file")
        [[ -f "$prefix/share/applications/$launchable" ]] || fail "$file launches missing '$launchable'"
    done
    grep -q '<image>.*screenshot-main.png</image>' "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "no screenshot"
}

row_MimeTypesValidate() {
    local file
    for file in "$prefix"/share/mime/packages/*.xml; do
        xmllint --noout --relaxng "$source_dir/dist/mime-info.rng" "$file" || fail "$file does not validate"
    done
    # The database builder reads it without a complaint.
    mkdir -p "$work/mime/packages"
    cp "$prefix"/share/mime/packages/*.xml "$work/mime/packages/"
    XDG_DATA_HOME="$work" update-mime-database "$work/mime" 2>"$work/err"
    [[ ! -s "$work/err" ]] || fail "update-mime-database: $(cat "$work/err")"
    grep -qx "$record_type" "$work/mime/types" || fail "type not in the database"
    grep -q 'xml:lang="ru"' "$work/mime/application/x-vornale-record.xml" || fail "no Russian comment"
}

row_IconsHaveTheirSizes() {
    local size
    for size in 16 24 32 48; do
        local icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        [[ -f "$icon" ]] || fail "no $size pixel icon"
        expect_eq "$(identify -format '%wx%h' "$icon")" "${size}x${size}" "size of $icon"
    done
}

# The type database of a desktop that has only our files installed, in a temporary data home.
desktop_data_home() {
    local home="$work/data"
    mkdir -p "$home/mime/packages" "$home/applications"
    cp "$prefix"/share/mime/packages/*.xml "$home/mime/packages/"
    cp "$prefix"/share/applications/*.desktop "$home/applications/"
    XDG_DATA_HOME="$home" update-mime-database "$home/mime"
    update-desktop-database "$home/applications"
    echo "$home"
}

row_MimeTypeByNameAndContent() {
    local home
    home=$(desktop_data_home)
    write_record "$work/subject.vnl" "Vornale 5"
    write_record "$work/subject-renamed" "Vornale 5"
    write_record "$work/subject.txt" "Vornale 5"
    printf 'anything\r\n' > "$work/other.vnl"
    # name | expected type
    local rows=(
        "subject.vnl|$record_type"        # by its extension
        "subject-renamed|$record_type"    # no extension: by "Vornale 5" at the start
        "other.vnl|$record_type"          # the extension decides before the content
        "subject.txt|text/plain"          # a known extension wins over the content
    )
    local row name expected
    for row in "${rows[@]}"; do
        IFS='|' read -r name expected <<<"$row"
        expect_eq "$(XDG_DATA_HOME="$home" xdg-mime query filetype "$work/$name")" "$expected" "type of $name"
    done
}

row_MimeTypeUnknownWithoutOurFiles() {
    [[ -e /usr/share/mime/packages/vornale-record.xml ]] && { echo "installed on this system: nothing to compare"; exit $skip; }
    mkdir -p "$work/empty"
    write_record "$work/subject.vnl" "Vornale 5"
    local type
    type=$(XDG_DATA_HOME="$work/empty" xdg-mime query filetype "$work/subject.vnl")
    [[ "$type" != "$record_type" ]] || fail "the record type is known without its file: the other rows prove nothing"
}

row_DesktopEntryClaimsRecordType() {
    local home
    home=$(desktop_data_home)
    expect_eq "$(XDG_DATA_HOME="$home" xdg-mime query default "$record_type")" "$app_id.desktop" "default application"
}

# --- Command line without a display ------------------------------------------------------------

# Each row: arguments | exit code | text expected on stdout | text expected on stderr.
# The program runs with no display at all.
expect_command_line_rows() {
    local program=$1 row args code out err
    shift
    for row in "$@"; do
        IFS='|' read -r args code out err <<<"$row"
        local status=0
        # shellcheck disable=SC2086
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" $args \
            >"$work/out" 2>"$work/err" || status=$?
        expect_eq "$status" "$code" "exit code of '$args'"
        if [[ -n "$out" ]]; then grep -qF -- "$out" "$work/out" || fail "'$args' stdout lacks '$out'"; fi
        if [[ -n "$err" ]]; then
            grep -qF -- "$err" "$work/err" || fail "'$args' stderr lacks '$err'"
            [[ ! -s "$work/out" ]] || fail "'$args' wrote to stdout"
        fi
    done
}

row_CommandLineWithoutDisplay() {
    expect_command_line_rows "$bin" \
        "--help|0|Использование: vornale-lite [параметры] [ФАЙЛ]|" \
        "-h|0|[ФАЙЛ]|" \
        "--version|0|vornale-lite ${VORNALE_VERSION:-}|" \
        "-v|0|vornale-lite |" \
        "--no-such-option|2||Использование: " \
        "one.vnl two.vnl|2||Слишком много аргументов"
}

# --- The summary program on the command line -------------------------------------------------

row_SummaryCommandLineWithoutDisplay() {
    expect_command_line_rows "$summary_bin" \
        "--help|0|--csv <ФАЙЛ>|" \
        "--version|0|vornale-summary ${VORNALE_VERSION:-}|" \
        "--no-such-option|2||Использование: " \
        "--csv|2||--csv" \
        "--csv $work/out.csv|2||не указаны файлы"
    [[ ! -e "$work/out.csv" ]] || fail "a usage error wrote a CSV"
}

# The worked example's row in the CSV, its numbers with the locale's decimal separator.
row_SummaryCsvOfWorkedExample() {
    mkdir -p "$work/group"
    write_record "$work/group/subject.vnl" "Vornale 5"
    local tail="Иванов Иван;М;120;80;70;70;175;30;Рассчитано;%s;Удовлетворительная адаптация;122;78;71;-14;Нормальный баланс"
    # locale | index as the CSV shows it
    local rows=(
        "C.UTF-8|2.30"
        "ru_RU.UTF-8|2,30"
    )
    local row locale index tested=0
    for row in "${rows[@]}"; do
        IFS='|' read -r locale index <<<"$row"
        if ! locale -a | grep -qix "${locale/UTF-8/utf8}"; then
            echo "locale $locale not generated: row skipped"
            continue
        fi
        rm -f "$work/group.csv"
        local status=0
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL="$locale" timeout 20 \
            "$summary_bin" --csv "$work/group.csv" "$work/group" >"$work/out" 2>"$work/err" || status=$?
        expect_eq "$status" 0 "exit code under $locale ($(cat "$work/err"))"
        grep -qx "Рассчитано: 1" "$work/out" || fail "counts under $locale: $(cat "$work/out")"
        # shellcheck disable=SC2059
        expect_eq "$(sed -n 2p "$work/group.csv")" "$work/group/subject.vnl;$(printf "$tail" "$index")"$'\r' \
            "row under $locale"
        expect_eq "$(wc -l <"$work/group.csv")" 2 "lines under $locale"
        tested=$((tested + 1))
    done
    ((tested > 0)) || exit $skip
}

# --- The installed program in a window ---------------------------------------------------------

# Where the window shows what the checks measure (window coordinates).
bar_area=28x89+12+256   # the level bar, its border included
label_area=137x33+11+216 # the adaptation level text

# A virtual display of our own, at a random number far from the usual ones: a display that
# another test is just shutting down could otherwise lose its socket under us. The server says
# on the given descriptor when it is ready. -noreset: an X server resets when its last client
# leaves (an xdotool query, say) and refuses the program if it connects meanwhile.
start_display() {
    local i server
    for _ in 1 2 3 4 5; do
        : >"$work/display"
        Xvfb ":$((RANDOM % 20000 + 2000))" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
            3>"$work/display" 2>"$work/xvfb.log" &
        server=$!
        for i in $(seq 100); do
            [[ -s "$work/display" ]] && break
            kill -0 "$server" 2>/dev/null || break
            sleep 0.05
        done
        if [[ -s "$work/display" ]]; then
            pids+=("$server")
            DISPLAY=":$(head -1 "$work/display")"
            export DISPLAY
            return 0
        fi
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    done
    fail "no virtual display: $(cat "$work/xvfb.log")"
}

# Starts the installed program with its arguments; sets pid and win (its main window).
launch() {
    export XDG_RUNTIME_DIR="$work/runtime"
    [[ -d "$XDG_RUNTIME_DIR" ]] || mkdir -m 0700 "$XDG_RUNTIME_DIR"
    "$bin" "$@" >"$work/out" 2>"$work/err" &
    pid=$!
    pids+=("$pid")
    win=""
    local i
    for i in $(seq 150); do
        win=$(xdotool search --onlyvisible --pid "$pid" --name '^Vornale Lite$' 2>/dev/null | head -1 || true)
        [[ -n "$win" ]] && return 0
        kill -0 "$pid" 2>/dev/null || fail "the program ended: $(cat "$work/err")"
        sleep 0.1
    done
    fail "no window within 15 s"
}

capture() { import -window "$win" "$work/shot.png"; }

# Rows of the level bar that hold the first level's greens (lime to pale green).
green_rows() {
    convert "$work/shot.png" -crop "$bar_area" +repage txt:- | awk '
        NR > 1 { split($0, a, "[(),: ]+"); y = a[2]; r = a[3]; g = a[4]; b = a[5]
                 if (g >= 200 && g - r >= 20 && g - b >= 20) rows[y] = 1 }
        END { n = 0; for (y in rows) n++; print n }'
}

# Pixels of text (dark) in the level label.
dark_pixels() {
    convert "$work/shot.png" -crop "$label_area" +repage txt:- | awk '
        NR > 1 { split($0, a, "[(),: ]+"); if (a[3] < 100 && a[4] < 100 && a[5] < 100) n++ }
        END { print n + 0 }'
}

# The window has been painted: the top of the bar's inside is white.
painted() {
    local pixel
    pixel=$(convert "$work/shot.png" -format '%[pixel:p{26,262}]' info: 2>/dev/null || true)
    [[ "$pixel" == "white" || "$pixel" == "srgb(255,255,255)" ]]
}

visible_windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }

# Waits until the window is painted, then a little longer for anything still to come.
settle() {
    local i
    for i in $(seq 100); do
        capture
        painted && { sleep 0.5; capture; return 0; }
        sleep 0.1
    done
    fail "the window was never painted"
}

expect_start_state() {
    expect_eq "$(green_rows)" 0 "filled rows of the level bar"
    expect_eq "$(dark_pixels)" 0 "text pixels of the level label"
    expect_eq "$(visible_windows)" 1 "visible windows"
    kill -0 "$pid" || fail "the program ended"
}

gui_WorkedExampleShowsResults() {
    write_record "$work/subject.vnl" "Vornale 5"
    launch "$work/subject.vnl"
    local i
    for i in $(seq 100); do
        capture
        (($(green_rows) > 0)) && break
        sleep 0.1
    done
    sleep 0.3
    capture
    # Position 57 of 100 on the 87 rows inside the border: 50 rows, give or take the rounding.
    local rows
    rows=$(green_rows)
    ((rows >= 48 && rows <= 52)) || fail "level bar fills $rows rows, expected about 50 of satisfactory green"
    (($(dark_pixels) > 20)) || fail "no level text"
    expect_eq "$(visible_windows)" 1 "visible windows"
}

gui_MissingFileLeavesStartStateAndSaysSo() {
    launch "$work/not-there.vnl"
    settle
    expect_start_state
    grep -qF "not-there.vnl: file not found" "$work/err" || fail "no message on standard error"
}

gui_BadHeaderShowsReadError() {
    write_record "$work/subject.vnl" "vornale 5"
    launch "$work/subject.vnl"
    local i
    for i in $(seq 100); do
        (($(visible_windows) >= 2)) && break
        sleep 0.1
    done
    expect_eq "$(visible_windows)" 2 "the main window and the read-error window"
    capture
    expect_eq "$(green_rows)" 0 "filled rows of the level bar"
}

gui_FifoLeavesStartStateWithoutHanging() {
    mkfifo "$work/pipe.vnl"
    launch "$work/pipe.vnl"
    settle
    expect_start_state
}

gui_FolderLeavesStartState() {
    mkdir "$work/folder.vnl"
    launch "$work/folder.vnl"
    settle
    expect_start_state
}

# --- Dispatch ----------------------------------------------------------------------------------

rows() { declare -F | awk '{print $3}' | sed -n 's/^\(row\|gui\)_//p'; }

case "${1:-}" in
--list) rows; exit 0 ;;
*)
    [[ -x "$bin" ]] || fail "not installed: $bin"
    [[ -x "$summary_bin" ]] || fail "not installed: $summary_bin"
    if declare -F "row_$1" >/dev/null; then
        "row_$1"
    elif declare -F "gui_$1" >/dev/null; then
        start_display
        "gui_$1"
    else
        fail "no row '$1'"
    fi
    ;;
esac
echo "ok: $*"
