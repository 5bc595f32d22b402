'use strict';
(function () {
  var D = JSON.parse(document.getElementById('data').textContent);
  // Parsed once, the data leaves the document: a whole game's is megabytes
  // that the browser would otherwise keep twice.
  document.getElementById('data').remove();
  var T = D.t, F = D.f;
  var PATH = 0, SIZE = 1, W = 2, H = 3, FMT = 4, STATUS = 5, PROBLEM = 6, TW = 7, TH = 8,
      REF = 9, REFS = 10, MENTIONS = 11, USES = 12, COMPANIONS = 13, COPY = 14;
  // A companion: its path, size, and the file, offset and texture of the use that keeps it (file -1: none).
  var C_PATH = 0, C_SIZE = 1, C_FILE = 2, C_AT = 3, C_BY = 4;
  function $(id) { return document.getElementById(id); }
  function el(tag, cls, text) {
    var e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function bytes(n) {
    var units = ['bytes', 'KiB', 'MiB', 'GiB', 'TiB'], i = 0, v = n;
    while (v >= 1024 && i < 4) { v /= 1024; i++; }
    return i ? v.toFixed(1) + ' ' + units[i] : n + ' bytes';
  }
  // Text as shown: U+FFFD for a byte that was not UTF-8; a path also with '/' between parts.
  function text(t) { return t.replace(/[\udc80-\udcff]/g, '\ufffd'); }
  function shown(p) { return text(p.replace(/\\/g, '/')); }
  function preview(i) {
    var t = T[i];
    if (t[STATUS] === 0) {
      var img = el('img');
      img.loading = 'lazy';
      img.decoding = 'async';
      img.width = t[TW];
      img.height = t[TH];
      img.alt = '';
      img.src = 'thumbs/' + i + '.png';
      return img;
    }
    return el('div', 'tile', t[STATUS] === 1 ? 'no preview: ' + t[FMT] : t[FMT] + ': ' + t[PROBLEM]);
  }
  function details(t) {
    return bytes(t[SIZE]) + (t[W] ? ' \u00b7 ' + t[W] + '\u00d7' + t[H] : '') + ' \u00b7 ' + t[FMT];
  }
  // The files that move with texture i: itself and the companions no other texture uses.
  function moving(i) {
    return [T[i][PATH]].concat(T[i][COMPANIONS].filter(function (c) { return c[C_FILE] < 0; })
                                                .map(function (c) { return c[C_PATH]; }));
  }
  function movingBytes(i) {
    return T[i][COMPANIONS].reduce(function (sum, c) { return sum + (c[C_FILE] < 0 ? c[C_SIZE] : 0); }, T[i][SIZE]);
  }
  // The textures of each group of identical files.
  var groups = {};
  T.forEach(function (t, i) { if (t[COPY]) (groups[t[COPY]] = groups[t[COPY]] || []).push(i); });
  function identical(i) {
    var others = groups[T[i][COPY]].filter(function (j) { return j !== i; });
    var named = others.slice(0, 3).map(function (j) { return shown(T[j][PATH]); }).join(', ');
    return 'identical to ' + named + (others.length > 3 ? ' and ' + (others.length - 3) + ' more' : '');
  }
  function places(list) {
    var d = el('div', 'places');
    list.forEach(function (p) {
      d.appendChild(el('div', null, shown(F[p[0]]) + ' @ ' + p[1] + (p.length > 2 ? ' (' + p[2] + ')' : '')));
    });
    return d;
  }
  // The places in a <details> whose rows are built when it is first opened.
  function foldedPlaces(list, what) {
    var d = el('details'), built = false;
    d.append(el('summary', null, list.length + ' ' + what + (list.length === 1 ? '' : 's')));
    d.addEventListener('toggle', function () {
      if (d.open && !built) { built = true; d.append(places(list)); }
    });
    return d;
  }
  // Fills `box` with the elements that `build` makes of `items`, a chunk at a
  // time: the first at once, each further one when the end of the list comes
  // near the view, so a list of thousands costs only what is scrolled to.
  var CHUNK = 30;
  function lazyList(box, items, build) {
    if (box.observer) box.observer.disconnect();
    var done = 0, end = el('div');
    function more() {
      var fragment = document.createDocumentFragment();
      items.slice(done, done + CHUNK).forEach(function (item) { fragment.appendChild(build(item)); });
      done = Math.min(items.length, done + CHUNK);
      box.insertBefore(fragment, end);
    }
    box.replaceChildren(end);
    box.observer = new IntersectionObserver(function (entries) {
      if (!entries.some(function (e) { return e.isIntersecting; })) return;
      more();
      // Observed afresh, the end reports again if it is still near the view.
      box.observer.unobserve(end);
      if (done < items.length) box.observer.observe(end);
    }, {rootMargin: '1500px'});
    box.observer.observe(end);
    more();
  }

  // The unreferenced grid and the choice.
  var unreferenced = [], referenced = [];
  T.forEach(function (t, i) { (t[REF] ? referenced : unreferenced).push(i); });
  var checked = T.map(function (t) { return !t[REF] && t[MENTIONS].length === 0 && t[USES].length === 0; });
  var lowered = [];
  unreferenced.forEach(function (i) { lowered[i] = shown(T[i][PATH]).toLowerCase(); });
  function visible() {
    var wanted = $('filter').value.toLowerCase(), order = $('sort').value;
    var list = unreferenced.filter(function (i) { return lowered[i].indexOf(wanted) >= 0; });
    list.sort(function (a, b) {
      if (order === 'path') return T[a][PATH] < T[b][PATH] ? -1 : T[a][PATH] > T[b][PATH] ? 1 : a - b;
      var d = T[a][SIZE] - T[b][SIZE];
      return (order === 'size-asc' ? d : -d) || a - b;
    });
    return list;
  }
  function card(i) {
    var t = T[i], c = el('div', 'card'), label = el('label'), box = el('input');
    box.type = 'checkbox';
    box.checked = checked[i];
    box.addEventListener('change', function () { checked[i] = box.checked; scripts(); });
    label.append(box, preview(i));
    c.append(label, el('div', 'path', shown(t[PATH])), el('div', 'meta', details(t)));
    if (t[COMPANIONS].length)
      c.append(el('div', 'meta', 'with its companions: ' + bytes(movingBytes(i))));
    if (t[MENTIONS].length) {
      c.classList.add('mentioned');
      c.append(el('div', 'warn', t[MENTIONS].length + (t[MENTIONS].length === 1 ? ' mention' : ' mentions')),
               places(t[MENTIONS]));
    }
    if (t[USES].length) {
      c.classList.add('mentioned');
      var users = t[USES].map(function (u) { return text(u[2]); }).filter(function (u, n, all) { return all.indexOf(u) === n; });
      c.append(el('div', 'warn', 'used as detail or bump of ' + users.join(', ')), places(t[USES]));
    }
    t[COMPANIONS].forEach(function (k) {
      if (k[C_FILE] >= 0)
        c.append(el('div', 'warn', shown(k[C_PATH]) + ' stays: used as bump of ' + text(k[C_BY]) +
                                   ' in ' + shown(F[k[C_FILE]]) + ' @ ' + k[C_AT]));
    });
    if (t[COPY]) c.append(el('div', 'meta', identical(i)));
    return c;
  }
  function grid() {
    var list = visible();
    lazyList($('grid'), list, card);
    $('shown').textContent = list.length + ' of ' + unreferenced.length + ' shown';
  }
  function select(value) {
    visible().forEach(function (i) { checked[i] = value; });
    grid();
    scripts();
  }

  // The move scripts. A name's bytes: UTF-8, and U+DC80..U+DCFF for a byte that was not.
  var encoder = new TextEncoder();
  function nameBytes(s) {
    var out = [];
    for (var ch of s) {
      var c = ch.codePointAt(0);
      if (c >= 0xdc80 && c <= 0xdcff) out.push(c - 0xdc00);
      else encoder.encode(ch).forEach(function (b) { out.push(b); });
    }
    return out;
  }
  // $'...' with every byte but letters, digits, space and . _ / - as \xNN.
  function shQuote(s) {
    if (/^[A-Za-z0-9 ._\/-]*$/.test(s)) return "$'" + s + "'";
    return "$'" + nameBytes(s).map(function (b) {
      var c = String.fromCharCode(b);
      return /[A-Za-z0-9 ._\/-]/.test(c) ? c : '\\x' + (b < 16 ? '0' : '') + b.toString(16);
    }).join('') + "'";
  }
  // Whether a .bat carries `s` safely in double quotes: no control character,
  // none of " * ? < > | : (but a drive's colon), no byte that was not UTF-8,
  // and no part ending in a dot or a space, which Windows would drop.
  function batSafe(s, drive) {
    if (/[\x00-\x1f\x7f"*?<>|\ud800-\udfff]/u.test(s)) return false;
    var rest = drive && /^[A-Za-z]:/.test(s) ? s.slice(2) : s;
    if (rest.indexOf(':') >= 0) return false;
    return rest.split('\\').every(function (part, n) { return (n === 0 && drive) || !/[. ]$/.test(part); });
  }
  function batQuote(s) { return '"' + s.replace(/%/g, '%%') + '"'; }

  var base = D.root.replace(/[\\\/]+$/, '');
  var shRoot = base.replace(/\\/g, '/'), batRoot = base.replace(/\//g, '\\');
  var shDest = shRoot + '-texsift-moved', batDest = batRoot + '-texsift-moved';
  var movable = base !== '' && !/^[A-Za-z]:$/.test(base);
  function split(p) {
    var cut = p.lastIndexOf('\\');
    return cut < 0 ? ['', p] : [p.slice(0, cut), p.slice(cut + 1)];
  }
  function counted(count) { return count + (count === 1 ? ' file' : ' files'); }
  // The move script, or with `undo` the script that moves the same files back: a
  // file is moved back only when it is in the folder beside the game and not
  // back in the game already.
  function shScript(files, undo) {
    var lines = ['#!/usr/bin/env bash', undo
      ? '# Moves ' + counted(files.length) + ' back into the game, save those back there already.'
      : '# Moves ' + counted(files.length) + ' out of the game into a folder beside it, keeping their folders.',
      undo ? '# Undoes the move script.' : '# To undo, run the undo script.',
      'set -eu', 'root=' + shQuote(shRoot), 'dest=' + shQuote(shDest)];
    // Nothing moves unless both folders can be written: no half-done move.
    lines = lines.concat(undo ? [] : ['mkdir -p -- "$dest"'],
      ['for folder in "$root" "$dest"; do',
       '  if [ -d "$folder" ] && [ ! -w "$folder" ]; then',
       '    echo "Cannot write in $folder: nothing was moved. Run this script as a user who can." >&2',
       '    exit 1', '  fi', 'done']);
    lines = lines.concat(undo
      ? ['back() {', '  if [ ! -e "$dest/$1/$2" ] || [ -e "$root/$1/$2" ]; then return 0; fi',
         '  mkdir -p -- "$root/$1"', '  mv -n -- "$dest/$1/$2" "$root/$1/$2"', '}']
      : ['move() {', '  mkdir -p -- "$dest/$1"', '  mv -n -- "$root/$1/$2" "$dest/$1/$2"', '}']);
    files.forEach(function (p) {
      var parts = split(p);
      lines.push((undo ? 'back ' : 'move ') + shQuote(parts[0].replace(/\\/g, '/') || '.') + ' ' + shQuote(parts[1]));
    });
    return lines.join('\n') + '\n';
  }
  function batScript(files, undo) {
    var lines = ['@echo off', 'chcp 65001 >nul', 'setlocal DisableDelayedExpansion', undo
      ? 'rem Moves ' + counted(files.length) + ' back into the game, save those back there already.'
      : 'rem Moves ' + counted(files.length) + ' out of the game into a folder beside it, keeping their folders.',
      undo ? 'rem Undoes the move batch file.' : 'rem To undo, run the undo batch file.'];
    // Nothing moves unless a file can be made and deleted in both folders
    // (not under C:\Program Files without administrator rights): no half-done move.
    if (!undo) lines.push('if not exist ' + batQuote(batDest + '\\') + ' mkdir ' + batQuote(batDest) + ' 2>nul');
    [batRoot, batDest].forEach(function (folder) {
      var marker = batQuote(folder + '\\texsift-write-test.tmp');
      // The undo skips a folder beside the game that is not there: nothing to move back.
      var only = undo && folder === batDest ? 'if exist ' + batQuote(folder + '\\') + ' ' : '';
      lines.push(only + 'type nul 2>nul > ' + marker, only + 'if not exist ' + marker + ' goto denied',
                 'del ' + marker + ' 2>nul', 'if exist ' + marker + ' goto denied');
    });
    files.forEach(function (p) {
      var sub = split(p)[0] ? '\\' + split(p)[0] : '';
      var inGame = batRoot + '\\' + p, moved = batDest + '\\' + p;
      var dir = (undo ? batRoot : batDest) + sub;
      var from = undo ? moved : inGame, to = undo ? inGame : moved;
      lines.push('if exist ' + batQuote(from) + ' if not exist ' + batQuote(dir + '\\') + ' mkdir ' + batQuote(dir));
      lines.push('if exist ' + batQuote(from) + ' if not exist ' + batQuote(to) + ' move ' + batQuote(from) + ' ' +
                 batQuote(to) + ' >nul');
    });
    lines.push('exit /b 0', ':denied',
               'echo Cannot write in the game folder or the folder beside it: nothing was moved.',
               'echo Run this batch file as administrator: right-click it, Run as administrator.',
               'pause', 'exit /b 1');
    return lines.join('\r\n') + '\r\n';
  }
  function scripts() {
    var list = unreferenced.filter(function (i) { return checked[i]; });
    var total = list.reduce(function (sum, i) { return sum + movingBytes(i); }, 0);
    var files = [].concat.apply([], list.map(moving));
    var bat = batSafe(batRoot, true) ? files.filter(function (p) { return batSafe(p, false); }) : [];
    var carried = new Set(bat), byHand = files.filter(function (p) { return !carried.has(p); });
    $('checked').textContent = list.length + ' checked, ' + bytes(total);
    $('paths').textContent = files.map(shown).join('\n');
    $('sh').textContent = movable ? shScript(files, false) : '';
    $('bat').textContent = movable ? batScript(bat, false) : '';
    $('undo-sh').textContent = movable ? shScript(files, true) : '';
    $('undo-bat').textContent = movable ? batScript(bat, true) : '';
    $('by-hand').textContent = (movable ? byHand : files).map(shown).join('\n');
  }

  // The referenced textures; on Texsift-compact's page, which has no choice, every texture.
  function referencedList() {
    lazyList($('referenced-list'), D.choice ? referenced : T.map(function (t, i) { return i; }), function (i) {
      var t = T[i], row = el('div', 'row');
      row.append(preview(i), el('div', 'path', shown(t[PATH])), el('div', 'meta', details(t)),
                 foldedPlaces(t[REFS], 'reference'));
      return row;
    });
  }
  function filesList() {
    lazyList($('files-list'), D.s, function (f) {
      var row = el('div', 'row'), names = el('div', 'places');
      f[2].forEach(function (n) { names.appendChild(el('div', null, text(n[0]) + ' @ ' + n[1])); });
      row.append(el('div', 'path', shown(F[f[0]])), el('div', 'meta', bytes(f[1])), names);
      return row;
    });
  }
  function copy(id) {
    var content = $(id).textContent;
    if (navigator.clipboard) navigator.clipboard.writeText(content).catch(function () { pick(id); });
    else pick(id);
  }
  // Saves the script shown in `id` as the file `name`: a download of the
  // page's own text, so nothing is fetched.
  function save(id, name) {
    var a = el('a');
    a.href = URL.createObjectURL(new Blob([$(id).textContent], {type: 'application/octet-stream'}));
    a.download = name;
    a.click();
    setTimeout(function () { URL.revokeObjectURL(a.href); }, 1000);
  }
  function pick(id) {
    $(id).parentNode.open = true;  // a folded script cannot be selected
    var range = document.createRange();
    range.selectNodeContents($(id));
    window.getSelection().removeAllRanges();
    window.getSelection().addRange(range);
  }

  if (D.choice) {
    $('filter').addEventListener('input', grid);
    $('sort').addEventListener('change', grid);
    $('all').addEventListener('click', function () { select(true); });
    $('none').addEventListener('click', function () { select(false); });
    document.querySelectorAll('button[data-copy]').forEach(function (b) {
      b.addEventListener('click', function () { copy(b.dataset.copy); });
    });
    document.querySelectorAll('button[data-save]').forEach(function (b) {
      b.addEventListener('click', function () { save(b.dataset.save, b.dataset.name); });
    });
    grid();
    scripts();
  }
  referencedList();
  if (D.s) filesList();
}());
