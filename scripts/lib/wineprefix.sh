# Prepares the wine prefix in WINEPREFIX once: the first boot, and windows
# that are never handed to a window manager (there is none on a virtual
# display, and hiding a managed window would wait for one).
prepare_wine_prefix() {
    local wine=${WINE:-/usr/lib/wine/wine64}
    local server=${WINESERVER:-/usr/lib/wine/wineserver64}
    if [ ! -f "$WINEPREFIX/.vistrel-ready" ]; then
        mkdir -p "$WINEPREFIX"
        WINEDEBUG=-all "$wine" wineboot -i >/dev/null 2>&1
        WINEDEBUG=-all "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        "$server" -w
        touch "$WINEPREFIX/.vistrel-ready"
    fi
}
