// The module in a web worker: the command line's own code (callMain) for window.veltrum.run, and
// replayed dialog sessions (veltrum_session) for the page's dialogs.  Files live in the worker's
// memory only: the data file under /data, "C:\" under /C, the run's outputs under /out.
/* global importScripts, createVeltrum */
'use strict';
importScripts('veltrum.js');

let stdout = [];
let stderr = [];
const started = createVeltrum({
  print: (line) => stdout.push(line),
  printErr: (line) => stderr.push(line),
  preRun: [(m) => { m.ENV.VELTRUM_DRIVE_C = '/C'; }],
}).then((m) => {
  m.FS.mkdir('/data');
  m.FS.mkdir('/out');
  m.FS.chdir('/data');
  return m;
});

const cp1252 = new TextDecoder('windows-1252');

function read(m, path) {
  try {
    return m.FS.readFile(path);
  } catch (e) {
    return null;
  }
}

function remove(m, path) {
  try {
    m.FS.unlink(path);
  } catch (e) { /* not there */ }
}

// The data file under the name the user gave (the report says "Eingabedatei ist NAME").
function placeData(m, request) {
  for (const name of m.FS.readdir('/data')) if (name !== '.' && name !== '..') remove(m, '/data/' + name);
  if (request.data === undefined || request.data === null || request.data === '') return '';
  const name = (request.name || 'daten.csv').replace(/[/\\]/g, '_');
  m.FS.writeFile('/data/' + name, typeof request.data === 'string' ? request.data : new Uint8Array(request.data));
  return name;
}

// The report as the DLL writes it (Windows-1252, CR LF) and as the page shows it.
function report(bytes) {
  if (!bytes || bytes.length === 0) return { report: null, reportBytes: null };
  return { report: cp1252.decode(bytes).replace(/\r\n/g, '\n'), reportBytes: bytes };
}

// The command line's argument list: --data NAME [--data-format F] LETTER OPTIONS...; `options` is a
// list of words, or an object of option names (with or without "--") and values (true: a flag).
function argumentsFor(request, dataName) {
  const args = ['--json', '/out/run.json', '--report', '/out/report.txt', '--quiet'];
  if (dataName) args.push('--data', dataName);
  if (request.format) args.push('--data-format', request.format);
  args.push(String(request.letter || ''));
  const options = request.options || [];
  if (Array.isArray(options)) {
    for (const word of options) args.push(String(word));
  } else {
    for (const [key, value] of Object.entries(options)) {
      if (value === false || value === null || value === undefined) continue;
      const name = key.startsWith('-') ? key : '--' + key;
      if (value === true) args.push(name);
      else if (Array.isArray(value)) for (const v of value) args.push(name, String(v));
      else args.push(name, String(value));
    }
  }
  return args;
}

function run(m, request) {
  const dataName = placeData(m, request);
  remove(m, '/out/run.json');
  remove(m, '/out/report.txt');
  stdout = [];
  stderr = [];
  const args = argumentsFor(request, dataName);
  const started = performance.now();
  let status;
  try {
    status = m.callMain(args);
  } catch (e) {
    return { ok: false, report: null, json: null, messages: [String(e)], status: -1 };
  }
  const millis = performance.now() - started;
  // The document goes to the page as text, parsed there: a text crosses to the page as one copy, a
  // parsed document of thousands of objects one object at a time.
  const jsonBytes = read(m, '/out/run.json');
  const jsonText = jsonBytes ? new TextDecoder('utf-8').decode(jsonBytes) : null;
  return Object.assign({ ok: status === 0, jsonText, messages: stderr.slice(), status, millis, args },
    report(read(m, '/out/report.txt')));
}

function session(m, request) {
  const dataName = placeData(m, request);
  remove(m, '/C/Ausgabe');
  stderr = [];
  const started = performance.now();
  const result = JSON.parse(m.ccall('veltrum_session', 'string', ['string'], [JSON.stringify({
    letter: request.letter,
    data: dataName,
    data_format: request.format || '',
    actions: request.actions || [],
  })]));
  result.jsonText = result.json_text || null;
  delete result.json_text;
  result.millis = performance.now() - started;
  result.notes = stderr.slice();
  return Object.assign(result, report(result.report_path ? read(m, result.report_path) : null));
}

onmessage = async (event) => {
  const { id, kind, request } = event.data;
  const m = await started;
  let answer;
  try {
    if (kind === 'templates') answer = JSON.parse(m.UTF8ToString(m._veltrum_templates()));
    else if (kind === 'run') answer = run(m, request);
    else if (kind === 'session') answer = session(m, request);
    else throw new Error('unknown request ' + kind);
    postMessage({ id, answer });
  } catch (e) {
    postMessage({ id, error: String(e && e.stack ? e.stack : e) });
  }
};
