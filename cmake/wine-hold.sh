# Sourced by the scripts that run Windows programs (scripts/test, scripts/demo, bench/run,
# tests/release/check): one wineserver per prefix for the whole run, since each cold start costs
# seconds, stopped at the end only where this run started it; and the paths those programs take.
#   hold_wineserver <prefix> <loader>     (run from the source tree's root)
#   release_wineservers                   (call from the script's EXIT trap)
#   wine_path <absolute path>             the path as a Windows program under Wine names it
held_prefixes=()

# Wine sees the machine's root as drive Z:.
wine_path() { printf 'Z:%s' "${1//\//\\}"; }

hold_wineserver() {
  local prefix=$1 loader=$2
  cmake/wine-run "$prefix" "$loader" hostname >/dev/null 2>&1
  # That first program's server lingers a few seconds; once it has gone, -p starts ours. A server
  # that stays is another run's persistent one, which serves as well and stays its owner's.
  timeout 10 env WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null
  if WINEPREFIX="$prefix" /usr/lib/wine/wineserver -p 2>/dev/null; then held_prefixes+=("$prefix"); fi
}

release_wineservers() {
  local prefix
  for prefix in "${held_prefixes[@]}"; do WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; done
}
