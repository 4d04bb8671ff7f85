#!/usr/bin/env node
// web/plots.js on documents the command line writes now from the example data: each picture is
// well-formed XML (Python's parser, svg_tree.py), has one group per group or condition, and each
// mark carries the document's number (or, where the picture computes it, the value R gives) at
// the place the axis's own tick labels put that number. Group labels with markup come out as
// text. Letters without a picture give null.
//
// Usage: plots_test.js VELTRUM EXAMPLES_DIR PYTHON
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { svgFor } = require('../../web/plots.js');

const [veltrum, examples, python] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'plots-'));
const env = Object.assign({}, process.env, { VELTRUM_DRIVE_C: path.join(work, 'C') });
const failures = [];
const check = (ok, what) => ok || failures.push(what);

function run(args) {
  let out;
  try {
    out = execFileSync(veltrum, ['--json', '-', ...args], { env, stdio: ['ignore', 'pipe', 'ignore'] });
  } catch (e) {
    out = e.stdout; // a run without a report still writes its document
  }
  return JSON.parse(out.toString('utf-8'));
}

const ex = (name) => path.join(examples, name);
const evil = path.join(work, 'evil.csv');
fs.writeFileSync(evil, '"w<e&rt",g\n1,"<script>alert(1)</script>"\n2,"<script>alert(1)</script>"\n3,"R&D ""x"""\n4,"R&D ""x"""\n');

const groupMedians = (d) => d.results.groups.map((g) => g.median);
// Each case: the command line, the number of groups, and per kind of mark the values it shows
// (or the values and, apart, the places on the axis).
const cases = [
  { args: ['--data', ex('plantgrowth.dat'), 'K', '--group-var', 'group', '--target', 'weight'], groups: 3,
    marks: { 'line.median': groupMedians }, labels: ['1', '2', '3'] },
  { args: ['--data', ex('pflanzen.csv'), 'U', '--group-var', 'Gruppe', '--target', 'Gewicht', '--groups', 'Behandlung 2,Kontrolle'],
    groups: 2, marks: { 'line.median': groupMedians }, labels: ['Behandlung 2', 'Kontrolle'] },
  // R: tapply(mtcars$cyl, mtcars$am, median) 8 4; tapply(mtcars$cyl, mtcars$am, mean) 6.947368 5.076923
  { args: ['--data', ex('mtcars.dat'), 'N', '--group-var', 'trans', '--target', 'cyl', '--groups', '1,2'], groups: 2,
    marks: { 'line.median': () => [8, 4], 'path.mean': () => [6.947368, 5.076923] } },
  // R: tapply(InsectSprays$count, InsectSprays$spray, median)
  { args: ['--data', ex('insectsprays.dat'), 'T', '--group-var', 'spray', '--target', 'count', '--groups', 'all'], groups: 6,
    marks: { 'line.median': () => [14, 16.5, 1.5, 5, 3, 15] } },
  // the share below the common median, in per cent: the bar's part below reaches up to it
  { args: ['--data', ex('toothgrowth.dat'), 'E', '--group-var', 'supp', '--target', 'len', '--groups', '1,2'], groups: 2,
    marks: { 'rect.below': [(d) => d.results.below, (d) => d.results.below.map((b, i) => (100 * b) / d.results.row_totals[i])] } },
  // r (c + 1) / 2 = 22 * 4 / 2
  { args: ['--data', ex('roundingtimes.dat'), 'F', '--targets', 'RoundOut,NarrowAngle,WideAngle'], groups: 3,
    marks: { 'rect.bar': (d) => d.results.rank_sums, 'line.reference': () => [44] }, labels: ['RoundOut', 'NarrowAngle', 'WideAngle'] },
  { args: ['--data', ex('sleep.dat'), 'W', '--vars', 'drug1,drug2'], groups: 3,
    marks: { 'ranks rect.bar': (d) => [d.results.r_plus, d.results.r_minus], 'differences line.median': (d) => [d.results.hodges_lehmann] } },
  { args: ['--data', ex('survey.dat'), 'V', '--vars', 'Wr.Hnd,NW.Hnd'], groups: 3,
    marks: { 'rect.bar': (d) => [d.results.minus, d.results.zero, d.results.plus] } },
  { args: ['--data', evil, 'K', '--group-var', 'g', '--target', '1', '--groups', 'all'], groups: 2,
    marks: { 'line.median': groupMedians }, titles: ['<script>alert(1)</script>', 'R&D "x"'] },
];
const without = [
  ['H', '--n1', '31', '--n2', '19'], ['H', '--n1', '0', '--n2', '0'], ['M'], ['G', '--freq', '10,20,30'],
  ['A', '--freq', '30,20,10', '--prob', '0.5,0.3,0.2'], ['B', '--n', '25', '--k', '7', '--theta', '0.4'],
  ['O', '--rows', '4', '--cols', '3', '--table', '1,1,0;1,1,1;0,1,0;1,0,0'],
  ['--data', ex('plantgrowth.dat'), 'S', '--group-var', 'group', '--target', 'weight', '--groups', '2,3'],
  ['--data', ex('asthma.dat'), 'C', '--group-var', 'Sequenz', '--periods', 'PEF1,PEF2', '--groups', '1,2'],
];

const all = (node, pick) => [...(pick(node) ? [node] : []), ...node.children.flatMap((c) => all(c, pick))];
const classed = (node, tagAndClass) => {
  const [tag, cls] = tagAndClass.split('.');
  return all(node, (n) => n.tag === tag && n.attrib.class === cls);
};
const near = (a, b, tolerance) => Math.abs(a - b) <= tolerance;

// The value axis of a part of the picture, from its ticks: whether it runs along y, and the
// coordinate of a value (checked to be linear over every tick).
function axisOf(part, what) {
  const ticks = classed(part, 'g.tick').map((t) => {
    const line = t.children.find((c) => c.tag === 'line').attrib;
    const label = parseFloat(t.children.find((c) => c.tag === 'text').text);
    const vertical = line.x1 !== line.x2;
    return { vertical, value: label, at: parseFloat(vertical ? line.y1 : line.x1) };
  });
  if (ticks.length < 2) return check(false, what + ': fewer than two ticks') && null;
  const [a, b] = [ticks[0], ticks[ticks.length - 1]];
  const at = (v) => a.at + ((v - a.value) / (b.value - a.value)) * (b.at - a.at);
  ticks.forEach((t) => check(near(t.at, at(t.value), 0.02), what + ': tick ' + t.value + ' off the line'));
  return { vertical: a.vertical, at };
}

function position(mark, vertical) {
  const n = (k) => parseFloat(mark.attrib[k]);
  if (mark.tag === 'line') return vertical ? n('y1') : n('x1');
  if (mark.tag === 'rect') return vertical ? n('y') : n('x') + n('width');
  return parseFloat(mark.attrib.d.slice(1).split(/[ L]/)[vertical ? 1 : 0]); // a path's first point
}

const docs = cases.map((c) => run(c.args));
const svgs = docs.map((d) => svgFor(d));
const trees = JSON.parse(execFileSync(python, [path.join(__dirname, 'svg_tree.py')], { input: JSON.stringify(svgs.map((s) => s || '')) }));

cases.forEach((c, k) => {
  const doc = docs[k];
  const what = doc.letter + ' ' + c.args.join(' ');
  const tree = trees[k];
  if (!svgs[k] || tree.error) return check(false, what + ': no well-formed SVG: ' + (tree.error || 'null'));
  check(tree.tag === 'svg' && tree.attrib.role === 'img' && tree.children[0].tag === 'title' && tree.children[0].text.length > 0,
    what + ': no role="img" with a <title> first');
  check(/^\d+$/.test(tree.attrib.width) && /^\d+$/.test(tree.attrib.height), what + ': no fixed size');
  const groups = classed(tree, 'g.group');
  check(groups.length === c.groups, what + ': ' + groups.length + ' groups, not ' + c.groups);
  if (c.labels) {
    const labels = classed(tree, 'text.group-label').map((t) => t.text);
    check(JSON.stringify(labels) === JSON.stringify(c.labels), what + ': labels ' + labels);
  }
  for (const [selector, expect] of Object.entries(c.marks)) {
    const [panelName, kind] = selector.includes(' ') ? selector.split(' ') : [null, selector];
    const part = panelName ? all(tree, (n) => n.attrib['data-panel'] === panelName)[0] : tree;
    const axis = axisOf(part, what);
    const marks = classed(part, kind);
    const [values, places] = Array.isArray(expect) ? expect.map((f) => f(doc)) : [expect(doc), expect(doc)];
    check(marks.length === values.length, what + ': ' + marks.length + ' ' + kind + ', not ' + values.length);
    marks.forEach((m, i) => {
      const shown = parseFloat(m.attrib['data-value']);
      check(near(shown, values[i], 1e-6 * Math.max(1, Math.abs(values[i]))), what + ': ' + kind + ' ' + i + ' is ' + shown + ', not ' + values[i]);
      if (axis) check(near(position(m, axis.vertical), axis.at(places[i]), 0.05), what + ': ' + kind + ' ' + i + ' not at ' + places[i] + ' on the axis');
    });
  }
  if (c.titles) {
    // the labels as text: escaped in the markup, read back whole by the parser, no element made
    check(!/<script/i.test(svgs[k]) && svgs[k].includes('&lt;script&gt;') && svgs[k].includes('R&amp;D &quot;x&quot;') &&
      svgs[k].includes('w&lt;e&amp;rt'), what + ': label not escaped');
    check(classed(tree, 'text.axis-title').some((t) => t.text === 'w<e&rt'), what + ': the target\'s name not read back');
    check(all(tree, (n) => n.tag === 'script').length === 0, what + ': a <script> element');
    const titles = groups.map((g) => g.children.find((c) => c.tag === 'title').text);
    c.titles.forEach((t, i) => check(titles[i] !== undefined && titles[i].startsWith(t + ':'), what + ': group title ' + titles[i]));
  }
});

for (const args of without) {
  const doc = run(args);
  check(svgFor(doc) === null, doc.letter + ' ' + args.join(' ') + ': a picture, expected none');
}
check(svgFor(null) === null && svgFor(Object.assign({}, docs[0], { ok: false, results: {} })) === null, 'a run without a report: a picture');

fs.rmSync(work, { recursive: true, force: true });
if (failures.length) {
  console.error(failures.join('\n'));
  process.exit(1);
}
console.log('plots: ' + cases.length + ' pictures and ' + without.length + ' letters without one checked');
