# Shared by ./test and ./run (sourced, not run): installs what is missing and builds into build/.

KELVARA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KELVARA_BUILD="$KELVARA_ROOT/build"
KELVARA_PACKAGES=(cmake ninja-build g++ dpkg-dev qt6-base-dev qt6-charts-dev libsimpleini-dev libgtest-dev libbenchmark-dev
                  xvfb xauth fonts-dejavu-core fonts-liberation2)
# tools/windows-check (CI): the Windows cross-compiler, GoogleTest's sources, Wine, Qt's host tools (moc,
# rcc, uic) and Russian texts, icotool, makensis; fonts for the window under Wine.
KELVARA_WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest libsimpleini-dev wine64
                          qt6-base-dev-tools qt6-translations-l10n icoutils nsis unzip xvfb xauth
                          fonts-dejavu-core fonts-liberation2 fonts-wine)

# Only for ./test --full: the sanitizer build and the fuzz targets (libFuzzer comes with clang's runtime).
KELVARA_FULL_PACKAGES=(clang libclang-rt-14-dev)
# tools/package-check (./test --full): the Debian package and its checks.
KELVARA_PACKAGE_PACKAGES=(dpkg-dev file lintian appstream)

kelvara_say() { printf '%s\n' "$*" >&2; }

# Installs the Debian packages that are not installed yet (by default KELVARA_PACKAGES, or the
# ones named; without the recommended extras when KELVARA_NO_RECOMMENDS is set); does nothing
# when all are there.
kelvara_install() {
    local missing=() p
    [ $# -gt 0 ] || set -- "${KELVARA_PACKAGES[@]}"
    for p in "$@"; do
        dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    if ! command -v apt-get >/dev/null 2>&1; then
        kelvara_say "Не хватает пакетов: ${missing[*]}. Установите их вручную (нужен Debian 12 или похожая система)."
        return 1
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            kelvara_say "Не хватает пакетов: ${missing[*]}. Для установки нужны права root (sudo не найден)."
            return 1
        fi
        sudo=(sudo)
    fi
    kelvara_say "Устанавливаю недостающие пакеты: ${missing[*]}"
    local log
    log="$(mktemp)"
    if ! { "${sudo[@]}" apt-get update -q &&
           "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
               ${KELVARA_NO_RECOMMENDS:+--no-install-recommends} "${missing[@]}"; } >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        kelvara_say "Не удалось установить пакеты."
        return 1
    fi
    rm -f "$log"
}

# Configures (Ninja, RelWithDebInfo) and builds everything; prints the compiler's output only on failure.
kelvara_build() {
    mkdir -p "$KELVARA_BUILD"
    local log="$KELVARA_BUILD/kelvara-build.log"
    if ! cmake -S "$KELVARA_ROOT" -B "$KELVARA_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1; then
        cat "$log" >&2
        kelvara_say "Не удалось настроить сборку (подробности выше, а также в $log)."
        return 1
    fi
    # Ninja's automatic moc step does not notice sources that a glob added since the last build:
    # make it run again whenever the configure step changed its inputs.
    local info stamp
    while IFS= read -r -d '' info; do
        stamp="$(dirname "$(dirname "$(dirname "$info")")")/$(basename "$(dirname "$info")" .dir)/timestamp"
        if [ -f "$stamp" ] && [ "$info" -nt "$stamp" ]; then rm -f "$stamp"; fi
    done < <(find "$KELVARA_BUILD" -path '*/CMakeFiles/*_autogen.dir/AutogenInfo.json' -print0)
    if ! cmake --build "$KELVARA_BUILD" >>"$log" 2>&1; then
        tail -n 200 "$log" >&2
        kelvara_say "Сборка не удалась (подробности выше, полный журнал в $log)."
        return 1
    fi
}
