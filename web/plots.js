/* plots.js: pictures of one veltrum result, drawn as SVG from the document `veltrum --json` writes
 * (docs/json.md). No library, no network; the page shows the string svgFor(doc) returns, and
 * node loads the same file for the tests.
 *
 * What each picture shows, and from which keys of `results` (`input` gives names and labels):
 * - K, U: per group a line from the minimum to the maximum with the median marked across it, on
 *   the target variable's axis; under each group its n and mean rank (`groups`: `minimum`,
 *   `maximum`, `median`, `n`, `mean_rank`). The document holds no single values or quartiles,
 *   so this is a range plot, not a strip or box plot.
 * - N, T: per group a dot for each score, its area proportional to the count (`scores`,
 *   `counts`), with the group's median score (a line) and mean score (a diamond), both computed
 *   here from the counts: the test compares the mean scores.
 * - E: per group one bar split into the shares below and at or above the common median
 *   (`below`, `at_or_above`, `row_totals`, `median`); the group medians are not in the document.
 * - F: the rank sum of each condition as a bar (`rank_sums`, the names from `input.variables`),
 *   with the rank sum every condition has when none differs, r (c + 1) / 2 (`r`, `c`).
 * - W: the rank sums R+ and R- of the positive and negative differences first - second as bars
 *   (`r_plus`, `r_minus`, out of n'(n' + 1) / 2 with n' = `nonzero`), and below them the
 *   Hodges-Lehmann median difference with its Tukey intervals against zero (`hodges_lehmann`,
 *   `tukey_intervals`). The document holds no single differences.
 * - V: the number of pairs with first below, equal to and above second (`minus`, `zero`, `plus`).
 * Every other letter, and a run without a report (`ok` false), gives null.
 *
 * Every text passes through esc() on its way into the markup (labels come from the user's data);
 * coordinates are px with two decimals, each mark carries its number in `data-value`.
 */
(function (root) {
  'use strict';

  const WIDTH = 560;
  const HEIGHT = 340;
  const INK = '#222';
  const MUTED = '#555';
  const GRID = '#e3e3e3';
  const MARK = '#2f6db5';
  const MARK_LIGHT = '#a9c6ea';
  const MEDIAN = '#c0392b';

  // ---- markup ---------------------------------------------------------------------------------

  function esc(text) {
    return String(text).replace(/[&<>"']/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;' })[c]);
  }

  // Markup already built; everything else given to el() is text and is escaped.
  function Markup(text) {
    this.text = text;
  }

  // One element. Number attributes are coordinates (two decimals); string attributes go verbatim
  // (escaped), so data-value keeps the document's digits.
  function el(tag, attrs, ...children) {
    let head = '<' + tag;
    for (const [key, value] of Object.entries(attrs || {})) {
      if (value === undefined || value === null) continue;
      head += ' ' + key + '="' + esc(typeof value === 'number' ? +value.toFixed(2) : value) + '"';
    }
    const body = children
      .flat(Infinity)
      .filter((c) => c !== undefined && c !== null && c !== false)
      .map((c) => (c instanceof Markup ? c.text : esc(c)))
      .join('');
    return new Markup(body ? head + '>' + body + '</' + tag + '>' : head + '/>');
  }

  function text(x, y, content, attrs) {
    return el('text', Object.assign({ x, y, fill: INK }, attrs), content);
  }

  // A number for a label: four significant digits, one decimal from 1000 on (the floats carry
  // about seven, the labels need fewer).
  function num(x) {
    if (!Number.isFinite(x)) return '–';
    return String(Math.abs(x) >= 1000 ? +x.toFixed(1) : +x.toPrecision(4));
  }

  function finite(...values) {
    return values.every((v) => typeof v === 'number' && Number.isFinite(v));
  }

  // A label that fits `chars` characters; the full one stays in the group's <title>.
  function shorten(label, chars) {
    const s = String(label);
    return s.length <= chars ? s : s.slice(0, Math.max(1, chars - 1)) + '…';
  }

  function picture(title, subtitle, description, ...body) {
    return el(
      'svg',
      {
        xmlns: 'http://www.w3.org/2000/svg',
        width: String(WIDTH),
        height: String(HEIGHT),
        viewBox: '0 0 ' + WIDTH + ' ' + HEIGHT,
        role: 'img',
        'aria-label': title,
        'font-family': 'sans-serif',
        'font-size': '12',
        class: 'veltrum-plot',
      },
      el('title', {}, title),
      el('desc', {}, description),
      el('rect', { x: 0, y: 0, width: WIDTH, height: HEIGHT, fill: '#fff' }),
      text(12, 22, title, { 'font-size': '15', 'font-weight': 'bold', class: 'plot-title' }),
      text(12, 40, subtitle, { fill: MUTED, class: 'plot-subtitle' }),
      body,
    ).text;
  }

  // ---- scales and axes ------------------------------------------------------------------------

  // Ticks at 1, 2 or 5 times a power of ten covering lo..hi; the scale runs from the first tick
  // to the last.
  function niceScale(lo, hi, count) {
    if (!(hi > lo)) {
      const pad = lo === 0 ? 1 : Math.abs(lo) * 0.1;
      lo -= pad;
      hi += pad;
    }
    const raw = (hi - lo) / count;
    const power = Math.pow(10, Math.floor(Math.log10(raw)));
    const f = raw / power;
    const step = (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * power;
    const decimals = Math.max(0, -Math.floor(Math.log10(step) + 1e-9));
    const first = Math.floor(lo / step + 1e-9);
    const last = Math.ceil(hi / step - 1e-9);
    const ticks = [];
    for (let i = first; i <= last; i++) ticks.push(+(i * step).toFixed(decimals));
    return { lo: ticks[0], hi: ticks[ticks.length - 1], ticks, decimals };
  }

  function linear(scale, from, to) {
    return (v) => from + ((v - scale.lo) / (scale.hi - scale.lo)) * (to - from);
  }

  // A vertical value axis at x = left from y = bottom up to y = top, grid lines across to right.
  function yAxis(scale, y, left, right, top, bottom, title) {
    const ticks = scale.ticks.map((v) =>
      el(
        'g',
        { class: 'tick' },
        el('line', { x1: left - 5, y1: y(v), x2: left, y2: y(v), stroke: INK }),
        el('line', { x1: left, y1: y(v), x2: right, y2: y(v), stroke: GRID }),
        text(left - 8, y(v), v.toFixed(scale.decimals), { 'text-anchor': 'end', dy: '0.32em' }),
      ),
    );
    const middle = (top + bottom) / 2;
    return el(
      'g',
      { class: 'axis' },
      ticks,
      el('line', { x1: left, y1: top, x2: left, y2: bottom, stroke: INK }),
      text(16, middle, title, { 'text-anchor': 'middle', transform: 'rotate(-90 16 ' + middle + ')', class: 'axis-title' }),
    );
  }

  // A horizontal value axis at y = at from x = left to x = right.
  function xAxis(scale, x, left, right, at, title) {
    const ticks = scale.ticks.map((v) =>
      el(
        'g',
        { class: 'tick' },
        el('line', { x1: x(v), y1: at, x2: x(v), y2: at + 5, stroke: INK }),
        text(x(v), at + 17, v.toFixed(scale.decimals), { 'text-anchor': 'middle' }),
      ),
    );
    return el(
      'g',
      { class: 'axis' },
      ticks,
      el('line', { x1: left, y1: at, x2: right, y2: at, stroke: INK }),
      text((left + right) / 2, at + 34, title, { 'text-anchor': 'middle', class: 'axis-title' }),
    );
  }

  // The frame of a picture with one slot per category along x and a value axis up the left.
  const FRAME = { left: 72, right: WIDTH - 16, top: 68, bottom: HEIGHT - 78 };

  function categoryFrame(count, scale, axisTitle, categoryTitle) {
    const slot = (FRAME.right - FRAME.left) / count;
    return {
      slot,
      y: linear(scale, FRAME.bottom, FRAME.top),
      centre: (i) => FRAME.left + slot * (i + 0.5),
      axis(y) {
        return [
          yAxis(scale, y, FRAME.left, FRAME.right, FRAME.top, FRAME.bottom, axisTitle),
          text((FRAME.left + FRAME.right) / 2, HEIGHT - 10, categoryTitle, { 'text-anchor': 'middle', class: 'axis-title' }),
        ];
      },
      // The label under slot i and, where there is room, a second line of figures.
      label(i, label, figures) {
        const cx = this.centre(i);
        const under = FRAME.bottom + 16;
        if (slot < 44) {
          // turned labels need about 13 px each: with less room only every few is written
          if (i % Math.ceil(13 / slot) !== 0) return null;
          return text(cx, under - 4, shorten(label, 12), {
            'text-anchor': 'end',
            transform: 'rotate(-50 ' + +cx.toFixed(2) + ' ' + (under - 4) + ')',
            class: 'group-label',
          });
        }
        const chars = Math.max(3, Math.floor(slot / 7.5));
        return [
          text(cx, under, shorten(label, chars), { 'text-anchor': 'middle', class: 'group-label' }),
          figures ? text(cx, under + 15, shorten(figures, chars), { 'text-anchor': 'middle', fill: MUTED, 'font-size': '11' }) : null,
        ];
      },
    };
  }

  function legend(entries) {
    let x = FRAME.right;
    const items = [];
    for (const [symbol, label] of entries.slice().reverse()) {
      x -= label.length * 6.5 + 8;
      items.push(text(x, 58, label, { fill: MUTED }));
      x -= 18;
      items.push(symbol(x + 7, 54));
    }
    return el('g', { class: 'legend' }, items);
  }

  // ---- the groups ---------------------------------------------------------------------------

  // The label of the i-th group: its text label from a CSV table, else its number.
  function groupLabel(doc, number) {
    const known = (doc.input.groups || []).find((g) => g.number === number);
    return known && known.label !== undefined && known.label !== null ? String(known.label) : String(number);
  }

  function targetName(doc) {
    const v = (doc.input.variables || [])[0];
    return v ? v.name : '';
  }

  function groupVariableName(doc) {
    return doc.input.group_variable ? doc.input.group_variable.name : 'Gruppe';
  }

  // The test's name as the catalogue gives it, without its closing full stop.
  function testTitle(doc) {
    return String(doc.test || doc.letter).replace(/\.$/, '');
  }

  function groupedTitle(doc) {
    return testTitle(doc) + ': ' + targetName(doc) + ' nach ' + groupVariableName(doc);
  }

  // K and U: minimum to maximum with the median, per group.
  function groupRanges(doc) {
    const groups = doc.results.groups;
    if (!Array.isArray(groups) || groups.length === 0) return null;
    const shown = groups.filter((g) => finite(g.minimum, g.maximum, g.median));
    if (shown.length === 0) return null;
    const scale = niceScale(Math.min(...shown.map((g) => g.minimum)), Math.max(...shown.map((g) => g.maximum)), 6);
    const frame = categoryFrame(groups.length, scale, targetName(doc), groupVariableName(doc));
    const y = frame.y;
    const half = Math.min(18, frame.slot * 0.3);
    const marks = groups.map((g, i) => {
      const label = groupLabel(doc, g.group);
      const cx = frame.centre(i);
      const about = label + ': n = ' + g.n + ', Median ' + num(g.median) + ', Minimum ' + num(g.minimum) +
        ', Maximum ' + num(g.maximum) + ', mittlerer Rang ' + num(g.mean_rank);
      const drawn = finite(g.minimum, g.maximum, g.median);
      return el(
        'g',
        { class: 'group', 'data-group': String(g.group) },
        el('title', {}, about),
        drawn && [
          el('line', { class: 'range', x1: cx, y1: y(g.minimum), x2: cx, y2: y(g.maximum), stroke: MARK, 'stroke-width': '3' }),
          el('line', { x1: cx - half / 2, y1: y(g.minimum), x2: cx + half / 2, y2: y(g.minimum), stroke: MARK, 'stroke-width': '2' }),
          el('line', { x1: cx - half / 2, y1: y(g.maximum), x2: cx + half / 2, y2: y(g.maximum), stroke: MARK, 'stroke-width': '2' }),
          el('line', {
            class: 'median', 'data-value': String(g.median),
            x1: cx - half, y1: y(g.median), x2: cx + half, y2: y(g.median), stroke: MEDIAN, 'stroke-width': '4',
          }),
        ],
        frame.label(i, label, 'n=' + g.n + ' R̄=' + num(g.mean_rank)),
      );
    });
    const description = groups.map((g) => groupLabel(doc, g.group) + ': n = ' + g.n + ', Median ' + num(g.median) +
      ', Spannweite ' + num(g.minimum) + ' bis ' + num(g.maximum) + ', mittlerer Rang ' + num(g.mean_rank)).join('; ');
    return picture(
      groupedTitle(doc),
      'Median und Spannweite je Gruppe; R̄ mittlerer Rang',
      description,
      frame.axis(y),
      legend([
        [(x, yy) => el('line', { x1: x - 7, y1: yy, x2: x + 7, y2: yy, stroke: MEDIAN, 'stroke-width': '4' }), 'Median'],
        [(x, yy) => el('line', { x1: x, y1: yy - 7, x2: x, y2: yy + 7, stroke: MARK, 'stroke-width': '3' }), 'Minimum bis Maximum'],
      ]),
      marks,
    );
  }

  // The median and the mean of a frequency table over ordered scores.
  function scoreSummary(scores, counts) {
    const n = counts.reduce((a, b) => a + b, 0);
    if (n === 0) return null;
    const at = (k) => {
      // the k-th smallest value, k from 0
      let seen = 0;
      for (let j = 0; j < scores.length; j++) {
        seen += counts[j];
        if (k < seen) return scores[j];
      }
      return scores[scores.length - 1];
    };
    const median = n % 2 === 1 ? at((n - 1) / 2) : (at(n / 2 - 1) + at(n / 2)) / 2;
    const mean = scores.reduce((sum, s, j) => sum + s * counts[j], 0) / n;
    return { n, median, mean };
  }

  // N and T: the counts of each score per group, with the group's median and mean score.
  function scoreStrips(doc) {
    const r = doc.results;
    if (!Array.isArray(r.scores) || !Array.isArray(r.counts) || r.scores.length === 0) return null;
    const groups = doc.input.groups || [];
    // a margin around the scores, so that the dots at the ends stay off the axis labels
    const low = Math.min(...r.scores);
    const high = Math.max(...r.scores);
    const margin = high > low ? (high - low) * 0.08 : 0;
    const scale = niceScale(low - margin, high + margin, 6);
    const frame = categoryFrame(r.counts.length, scale, targetName(doc), groupVariableName(doc));
    const y = frame.y;
    const most = Math.max(1, ...r.counts.flat());
    const spacing = (FRAME.bottom - FRAME.top) / Math.max(1, r.scores.length);
    const largest = Math.max(2, Math.min(frame.slot * 0.3, spacing * 0.5, 16));
    const half = Math.min(18, frame.slot * 0.3);
    const summaries = [];
    const marks = r.counts.map((counts, i) => {
      const number = groups[i] ? groups[i].number : i + 1;
      const label = groupLabel(doc, number);
      const cx = frame.centre(i);
      const s = scoreSummary(r.scores, counts);
      summaries.push(label + ': n = ' + (s ? s.n : 0) + (s ? ', Median ' + num(s.median) + ', Mittelwert ' + num(s.mean) : ''));
      const dots = r.scores.map((score, j) =>
        counts[j] > 0
          ? el('circle', {
            class: 'count', 'data-score': String(score), 'data-value': String(counts[j]),
            cx, cy: y(score), r: largest * Math.sqrt(counts[j] / most), fill: MARK_LIGHT, stroke: MARK,
          }, el('title', {}, label + ', ' + num(score) + ': ' + counts[j]))
          : null,
      );
      const m = s && y(s.mean);
      return el(
        'g',
        { class: 'group', 'data-group': String(number) },
        el('title', {}, summaries[i]),
        dots,
        s && [
          el('line', {
            class: 'median', 'data-value': String(s.median),
            x1: cx - half, y1: y(s.median), x2: cx + half, y2: y(s.median), stroke: MEDIAN, 'stroke-width': '3',
          }),
          el('path', {
            class: 'mean', 'data-value': String(s.mean),
            d: 'M' + [[cx + half + 6, m], [cx + half + 11, m - 5], [cx + half + 16, m], [cx + half + 11, m + 5]]
              .map((p) => p.map((c) => +c.toFixed(2)).join(' ')).join('L') + 'Z',
            fill: 'none', stroke: MEDIAN, 'stroke-width': '1.5',
          }),
        ],
        frame.label(i, label, 'n=' + (s ? s.n : 0)),
      );
    });
    return picture(
      groupedTitle(doc),
      'Häufigkeit der Werte (Kreisfläche) je Gruppe',
      summaries.join('; '),
      frame.axis(y),
      legend([
        [(x, yy) => el('line', { x1: x - 7, y1: yy, x2: x + 7, y2: yy, stroke: MEDIAN, 'stroke-width': '3' }), 'Median'],
        [(x, yy) => el('path', { d: 'M' + (x - 5) + ' ' + yy + 'L' + x + ' ' + (yy - 5) + 'L' + (x + 5) + ' ' + yy + 'L' + x + ' ' + (yy + 5) + 'Z', fill: 'none', stroke: MEDIAN }), 'Mittelwert'],
      ]),
      marks,
    );
  }

  // E: per group the shares below and at or above the common median.
  function medianShares(doc) {
    const r = doc.results;
    if (!Array.isArray(r.below) || !Array.isArray(r.at_or_above)) return null;
    const groups = doc.input.groups || [];
    const scale = niceScale(0, 100, 5);
    const frame = categoryFrame(r.below.length, scale, 'Anteil der Gruppe (%)', groupVariableName(doc));
    const y = frame.y;
    const width = Math.min(60, frame.slot * 0.6);
    const summaries = [];
    const marks = r.below.map((below, i) => {
      const above = r.at_or_above[i];
      const total = below + above;
      const number = groups[i] ? groups[i].number : i + 1;
      const label = groupLabel(doc, number);
      const cx = frame.centre(i);
      summaries.push(label + ': ' + below + ' unter, ' + above + ' ab dem Median');
      const share = total > 0 ? (100 * below) / total : 0;
      const segment = (cls, count, from, to, fill) =>
        count > 0
          ? el('rect', { class: cls, 'data-value': String(count), x: cx - width / 2, y: y(to), width, height: y(from) - y(to), fill, stroke: MARK })
          : null;
      const inside = (count, from, to, colour) =>
        count > 0 && y(from) - y(to) >= 14 ? text(cx, (y(from) + y(to)) / 2, String(count), { 'text-anchor': 'middle', dy: '0.32em', fill: colour }) : null;
      return el(
        'g',
        { class: 'group', 'data-group': String(number) },
        el('title', {}, summaries[i]),
        total > 0 && [
          segment('below', below, 0, share, MARK),
          segment('at-or-above', above, share, 100, MARK_LIGHT),
          inside(below, 0, share, '#fff'),
          inside(above, share, 100, INK),
        ],
        frame.label(i, label, 'n=' + total),
      );
    });
    return picture(
      groupedTitle(doc),
      'Anteile unter und ab dem gemeinsamen Median ' + num(r.median),
      summaries.join('; ') + '; gemeinsamer Median ' + num(r.median),
      frame.axis(y),
      el('line', { x1: FRAME.left, y1: y(50), x2: FRAME.right, y2: y(50), stroke: MUTED, 'stroke-dasharray': '4 3' }),
      legend([
        [(x, yy) => el('rect', { x: x - 6, y: yy - 6, width: 12, height: 12, fill: MARK }), 'unter dem Median'],
        [(x, yy) => el('rect', { x: x - 6, y: yy - 6, width: 12, height: 12, fill: MARK_LIGHT, stroke: MARK }), 'ab dem Median'],
      ]),
      marks,
    );
  }

  // ---- bars for conditions and signs ----------------------------------------------------------

  // One bar per category from zero, with an optional reference line.
  function bars(doc, subtitle, labels, values, axisTitle, categoryTitle, reference) {
    const top = Math.max(...values.filter((v) => finite(v)), reference ? reference.value : 0, 1);
    const scale = niceScale(0, top, 5);
    const frame = categoryFrame(values.length, scale, axisTitle, categoryTitle);
    const y = frame.y;
    const width = Math.min(60, frame.slot * 0.6);
    const marks = values.map((v, i) => {
      const cx = frame.centre(i);
      return el(
        'g',
        { class: 'group' },
        el('title', {}, labels[i] + ': ' + num(v)),
        finite(v) && [
          el('rect', { class: 'bar', 'data-value': String(v), x: cx - width / 2, y: y(v), width, height: y(0) - y(v), fill: MARK }),
          text(cx, y(v) - 5, num(v), { 'text-anchor': 'middle' }),
        ],
        frame.label(i, labels[i]),
      );
    });
    return picture(
      testTitle(doc),
      subtitle,
      labels.map((l, i) => l + ': ' + num(values[i])).join('; ') + (reference ? '; ' + reference.label + ' ' + num(reference.value) : ''),
      frame.axis(y),
      reference && [
        el('line', { class: 'reference', 'data-value': String(reference.value), x1: FRAME.left, y1: y(reference.value), x2: FRAME.right, y2: y(reference.value), stroke: MEDIAN, 'stroke-dasharray': '6 4', 'stroke-width': '1.5' }),
        legend([[(x, yy) => el('line', { x1: x - 7, y1: yy, x2: x + 7, y2: yy, stroke: MEDIAN, 'stroke-dasharray': '4 2', 'stroke-width': '1.5' }), reference.label]]),
      ],
      marks,
    );
  }

  // F: the rank sums per condition against the sum each has when none differs.
  function rankSums(doc) {
    const r = doc.results;
    if (!Array.isArray(r.rank_sums) || r.rank_sums.length === 0) return null;
    const names = r.rank_sums.map((_, i) => ((doc.input.variables || [])[i] || { name: String(i + 1) }).name);
    return bars(doc, 'Rangsumme je Bedingung, ' + r.r + ' Blöcke', names, r.rank_sums, 'Rangsumme', 'Bedingung',
      finite(r.r, r.c) ? { value: (r.r * (r.c + 1)) / 2, label: 'ohne Unterschied r(c+1)/2' } : null);
  }

  function pairNames(doc) {
    const v = doc.input.variables || [];
    return [v[0] ? v[0].name : '1. Variable', v[1] ? v[1].name : '2. Variable'];
  }

  // V: the pairs by the sign of first - second.
  function signs(doc) {
    const r = doc.results;
    if (!finite(r.minus, r.zero, r.plus)) return null;
    const [a, b] = pairNames(doc);
    return bars(doc, 'Paare nach dem Vorzeichen von ' + a + ' − ' + b,
      [a + ' < ' + b, a + ' = ' + b, a + ' > ' + b], [r.minus, r.zero, r.plus], 'Anzahl der Paare', 'Vorzeichen');
  }

  // W: R+ and R- as bars, then the median difference with its intervals.
  function signedRanks(doc) {
    const r = doc.results;
    if (!finite(r.r_plus, r.r_minus, r.nonzero)) return null;
    const [a, b] = pairNames(doc);
    const left = 96;
    const right = WIDTH - 24;
    const rankScale = niceScale(0, Math.max(1, (r.nonzero * (r.nonzero + 1)) / 2), 5);
    const rx = linear(rankScale, left, right);
    const rows = [['R+', a + ' > ' + b, r.r_plus, 64], ['R−', a + ' < ' + b, r.r_minus, 90]];
    const rankPanel = el(
      'g',
      { class: 'panel', 'data-panel': 'ranks' },
      rows.map(([name, meaning, v, yy]) =>
        el(
          'g',
          { class: 'group' },
          el('title', {}, name + ' (' + meaning + '): ' + num(v)),
          el('rect', { class: 'bar', 'data-value': String(v), x: left, y: yy, width: rx(v) - left, height: 18, fill: MARK }),
          text(left - 8, yy + 9, name, { 'text-anchor': 'end', dy: '0.32em', class: 'group-label' }),
          text(rx(v) + 5, yy + 9, num(v), { dy: '0.32em' }),
        ),
      ),
      xAxis(rankScale, rx, left, right, 116, 'Rangsumme (höchstens n′(n′+1)/2 = ' + num((r.nonzero * (r.nonzero + 1)) / 2) + ')'),
    );
    const intervals = (r.tukey_intervals || []).filter((t) => finite(t.lower, t.upper, t.level));
    let differencePanel = text(left, 200, 'Kein Hodges-Lehmann-Schätzer (mehr als 500 Paare).', { fill: MUTED });
    if (finite(r.hodges_lehmann)) {
      const ends = [0, r.hodges_lehmann, ...intervals.flatMap((t) => [t.lower, t.upper])];
      const dScale = niceScale(Math.min(...ends), Math.max(...ends), 6);
      const dx = linear(dScale, left, right);
      const top = 184;
      const lines = intervals.map((t, i) => {
        const yy = top + 14 + i * 20;
        return el(
          'g',
          { class: 'interval-row' },
          el('title', {}, Math.round(t.level * 100) + ' %-Intervall ' + num(t.lower) + ' bis ' + num(t.upper)),
          el('line', { class: 'interval', 'data-value': String(t.lower) + ' ' + String(t.upper), x1: dx(t.lower), y1: yy, x2: dx(t.upper), y2: yy, stroke: MARK, 'stroke-width': String(Math.max(1, 5 - i * 1.5)) }),
          text(left - 8, yy, Math.round(t.level * 100) + ' %', { 'text-anchor': 'end', dy: '0.32em' }),
        );
      });
      const bottom = top + 14 + Math.max(1, intervals.length) * 20;
      differencePanel = [
        el('line', { x1: dx(0), y1: top, x2: dx(0), y2: bottom, stroke: MUTED, 'stroke-dasharray': '4 3' }),
        lines,
        el('g', { class: 'group' },
          el('title', {}, 'Hodges-Lehmann-Schätzer ' + num(r.hodges_lehmann)),
          el('line', { class: 'median', 'data-value': String(r.hodges_lehmann), x1: dx(r.hodges_lehmann), y1: top + 2, x2: dx(r.hodges_lehmann), y2: bottom - 2, stroke: MEDIAN, 'stroke-width': '3' })),
        text(dx(r.hodges_lehmann), top - 4, 'Hodges-Lehmann ' + num(r.hodges_lehmann), { 'text-anchor': 'middle', fill: MEDIAN }),
        xAxis(dScale, dx, left, right, bottom + 6, 'Differenz ' + a + ' − ' + b + ' (Hodges-Lehmann, Tukey-Intervalle)'),
      ];
    }
    const description = 'R+ = ' + num(r.r_plus) + ', R− = ' + num(r.r_minus) + ' bei ' + r.nonzero + ' von ' + r.n +
      ' Paaren mit Differenz ≠ 0; Hodges-Lehmann-Schätzer ' + num(r.hodges_lehmann) +
      intervals.map((t) => '; ' + Math.round(t.level * 100) + ' %-Intervall ' + num(t.lower) + ' bis ' + num(t.upper)).join('');
    return picture(
      testTitle(doc),
      'Paardifferenzen ' + a + ' − ' + b + ': ' + r.n + ' Paare, ' + r.nonzero + ' mit Differenz ≠ 0',
      description,
      rankPanel,
      el('g', { class: 'panel', 'data-panel': 'differences' }, differencePanel),
    );
  }

  const PICTURES = { K: groupRanges, U: groupRanges, N: scoreStrips, T: scoreStrips, E: medianShares, F: rankSums, W: signedRanks, V: signs };

  // The SVG markup of the document's picture, or null for a letter without one or a run without
  // a report.
  function svgFor(doc) {
    if (!doc || doc.ok !== true || !doc.results || !doc.input) return null;
    const draw = PICTURES[doc.letter];
    return draw ? draw(doc) : null;
  }

  const api = { svgFor, letters: Object.keys(PICTURES) };
  if (typeof module !== 'undefined' && module.exports) module.exports = api;
  else root.veltrumPlots = api;
})(typeof window !== 'undefined' ? window : this);
