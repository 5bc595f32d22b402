#!/usr/bin/env bash
# Times a page that --html wrote, in headless Chromium: how long it takes to be ready, and how
# long typing in its filter takes to show the result.
#
#   bench/page_time.sh PAGE_DIR [RUNS]
#
# Ready: the wall time of `chromium --headless --dump-dom` on the page (its script has built
# what is in view when the DOM is dumped), minus the same for an empty page, fastest of RUNS (5).
# Filter: a copy of the page with one more script, which types "a" and then "ac" in the filter
# and times each input event until the grid is laid out again; the copy leaves out the page's
# content policy, which would refuse that script. Needs chromium (tools/install-deps page).
set -euo pipefail
page=$(realpath "$1")
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

chrome() {
  chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --no-first-run --disable-sync --user-data-dir="$work/profile" \
    --dump-dom "file://$1" 2>/dev/null
}

fastest() {  # the fastest of $runs wall times of dumping $1, in seconds
  local best=
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s.%N)
    chrome "$1" >/dev/null
    end=$(date +%s.%N)
    best=$(python3 -c "t=$end-$start; b='$best'; print(t if b == '' or t < float(b) else b)")
  done
  echo "$best"
}

echo '<!doctype html><title>empty</title>' >"$work/empty.html"
chrome "$work/empty.html" >/dev/null  # the profile is made once, outside the timings
empty=$(fastest "$work/empty.html")
full=$(fastest "$page/index.html")

sed '/Content-Security-Policy/d' "$page/index.html" >"$page/.timing.html"
cat >>"$page/.timing.html" <<'SCRIPT'
<script>
window.addEventListener('load', function () {
  var filter = document.getElementById('filter'), times = [];
  ['a', 'ac', ''].forEach(function (text) {
    var start = performance.now();
    filter.value = text;
    filter.dispatchEvent(new Event('input'));
    void document.body.offsetHeight;
    times.push((performance.now() - start).toFixed(1));
  });
  var out = document.createElement('pre');
  out.id = 'filter-times';
  out.textContent = times.join(' ');
  document.body.appendChild(out);
});
</script>
SCRIPT
filter=$(chrome "$page/.timing.html" | sed -n 's/.*id="filter-times">\([^<]*\)<.*/\1/p')
rm -f "$page/.timing.html"
python3 -c "print('ready: %.2f s (%.2f s for the page, %.2f s for an empty one)' % ($full - $empty, $full, $empty))"
echo "filter 'a', 'ac', cleared: $filter ms"
