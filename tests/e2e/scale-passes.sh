# Sourced by run-e2e.sh. The scenarios at a display scale other than 96 DPI
# run in Wine sessions of their own, one per scale, each started with that
# scale already set (LogPixels): Wine 10, like a Windows sign-in, reads the
# scale once, when its session starts. The rest run in the first session, at
# 96 DPI. A scenario listed here must start its programs at its scale only
# (one that makes pictures with the system at 96 DPI first stays in the first
# session).
SCALES="120 144 192"
SCALED_SCENARIOS_120='DisplayScale/*Dpi120*'
SCALED_SCENARIOS_144='DisplayScale/*Dpi144*:Drop.TheDroppedFilesPictureIsStored32By32At144Dpi'
SCALED_SCENARIOS_192='DisplayScale/*Dpi192*:SharpFileIcons.ClosedWhileTheWorkerIsBusyItEndsAtOnceWithTheFileWhole:Scales/Arrange.*/Dpi192:DisplayScaleFiles.*:Scales/LabelFit.*/*Dpi192'
SCALED_SCENARIOS="$SCALED_SCENARIOS_120:$SCALED_SCENARIOS_144:$SCALED_SCENARIOS_192"

# matches_patterns NAME PATTERNS: NAME matches one of GoogleTest's
# colon-separated patterns (* and ?).
matches_patterns() {
    local pattern patterns
    IFS=: read -ra patterns <<<"$2"
    for pattern in "${patterns[@]}"; do
        # shellcheck disable=SC2053
        [[ $1 == $pattern ]] && return 0
    done
    return 1
}

# without_scaled FILTER: the GoogleTest filter less the scaled scenarios.
without_scaled() {
    case $1 in *-*) echo "$1:$SCALED_SCENARIOS" ;; *) echo "${1:-*}-$SCALED_SCENARIOS" ;; esac
}

# scaled_in FILTER DPI: the full names of the scenarios FILTER selects that
# run at DPI, colon-separated (empty when none).
scaled_in() {
    local patterns_var=SCALED_SCENARIOS_$2 names=() name
    while read -r name; do
        matches_patterns "$name" "${!patterns_var}" && names+=("$name")
    done < <(wine "$WIN_DIR/e2e_tests.exe" --gtest_list_tests "--gtest_filter=$1" 2>/dev/null |
        tr -d '\r' | awk '/^[^ ].*\.$/ { suite = $1; next } /^  [^ ]/ { print suite $1 }')
    local IFS=:
    echo "${names[*]}"
}

# set_session_scale DPI|"": the display scale of the Wine sessions started
# from now on (none: the system's own); ends the running one.
set_session_scale() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    if [ -n "$1" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    else
        wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
    fi
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
}

# A scale left in the prefix by a run that was stopped during a scaled pass.
forget_session_scale() {
    grep -q '^"LogPixels"=' "$WINEPREFIX/user.reg" 2>/dev/null && set_session_scale ""
    return 0
}
