# Sourced by the scripts that run the program under Wine: creates the private
# prefix $WINEPREFIX when it is new and makes Wine's own symbol font Webdings
# visible in it (a fresh prefix does not list it), so generated glyphs show
# the symbols a Windows user sees.
#
# prepare_wine_prefix LOG_FILE
prepare_wine_prefix() {
    local log=$1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX ..."
        rm -rf "$WINEPREFIX"
        wineboot -i >"$log" 2>&1
        wineserver -w
    fi
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    local font
    for font in /usr/share/wine/fonts/webdings.ttf /usr/lib/wine/fonts/webdings.ttf; do
        if [ -f "$font" ] && [ ! -f "$fonts/webdings.ttf" ]; then
            mkdir -p "$fonts"
            cp "$font" "$fonts/webdings.ttf"
        fi
    done
}
