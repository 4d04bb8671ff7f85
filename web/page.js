// The page: a data file read in the browser, the sixteen letters, each letter's dialog drawn from
// its template in the module's resource script, the module's message boxes, and the report.  The
// module runs in a web worker (worker.js).  window.veltrum.run and window.veltrum.session are the
// programmatic entries (see README).
'use strict';

const worker = new Worker('worker.js');
let nextRequest = 1;
const pending = new Map();
worker.onmessage = (event) => {
  const { id, answer, error } = event.data;
  const p = pending.get(id);
  pending.delete(id);
  if (error) p.reject(new Error(error));
  else p.resolve(answer);
};
function ask(kind, request) {
  return new Promise((resolve, reject) => {
    const id = nextRequest++;
    pending.set(id, { resolve, reject });
    worker.postMessage({ id, kind, request });
  }).then((answer) => {
    if (answer && 'jsonText' in answer) {
      answer.json = answer.jsonText ? JSON.parse(answer.jsonText) : null;
      delete answer.jsonText;
    }
    return answer;
  });
}

const templates = ask('templates');

window.veltrum = {
  // {letter, data (text or ArrayBuffer), name, format, options} -> {ok, report, json, messages}:
  // the command line run on the data, with the command line's option names.
  run: (request) => ask('run', request),
  // {letter, data, name, format, actions: [{verb, id, index, text}]} -> the session replayed up to
  // the input it waits for.
  session: (request) => ask('session', request),
  templates: () => templates,
};

// ---- the state of the page ------------------------------------------------------------------

const page = {
  data: null, // {name, bytes}
  letter: '',
  actions: [], // the session's actions so far
  pendingActions: [], // picks and typing not yet played
  seenMessages: 0,
  last: null, // the last replay's answer
};

const $ = (id) => document.getElementById(id);

function element(tag, attributes = {}, text) {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attributes)) {
    if (v === false || v === undefined || v === null) continue;
    e.setAttribute(k, v === true ? '' : v);
  }
  if (text !== undefined) e.textContent = text;
  return e;
}

// A control text without its mnemonic marks ("&Rechnen"), the marked letter underlined.
function labelled(e, text) {
  e.textContent = '';
  const parts = text.split(/(&&|&.)/);
  for (const part of parts) {
    if (part === '&&') e.append('&');
    else if (part.length === 2 && part[0] === '&') e.append(element('u', {}, part[1]));
    else if (part) e.append(part);
  }
  return e;
}

// Dialog units to pixels at MS Sans Serif 8: 4 horizontal units are 6 pixels, 8 vertical ones 13.
const px = { x: (u) => Math.round(u * 6 / 4), y: (u) => Math.round(u * 13 / 8) };

function place(e, rect, height) {
  const [x, y, cx, cy] = rect;
  e.style.left = px.x(x) + 'px';
  e.style.top = px.y(y) + 'px';
  e.style.width = px.x(cx) + 'px';
  e.style.height = px.y(height === undefined ? cy : height) + 'px';
  return e;
}

// ---- the dialog -----------------------------------------------------------------------------

function drawDialog(tmpl, state) {
  const area = $('dialog-area');
  area.textContent = '';
  const byId = new Map(state.controls.map((c) => [c.id, c]));
  const box = element('div', { class: 'dialog', 'data-template': state.template, role: 'dialog' });
  box.append(element('div', { class: 'caption' }, state.caption));
  const client = element('div', { class: 'client' });
  client.style.width = px.x(tmpl.rect[2]) + 'px';
  client.style.height = px.y(tmpl.rect[3]) + 'px';
  box.append(client);
  for (const c of tmpl.controls) {
    const s = byId.get(c.id) || { text: c.text, items: [], selection: -1, selected: [], checked: false, enabled: true };
    let e;
    switch (c.kind) {
      case 'static':
        e = labelled(place(element('div', { class: 'control static' }), c.rect), s.text);
        break;
      case 'group_box':
        e = place(element('div', { class: 'control group_box' }), c.rect);
        e.append(labelled(element('span'), s.text));
        break;
      case 'edit':
        e = place(element('input', { type: 'text', class: 'control edit', spellcheck: 'false' }), c.rect);
        e.value = s.text;
        e.addEventListener('change', () => queue({ verb: 'type', id: c.id, text: e.value }));
        e.addEventListener('keydown', (event) => {
          if (event.key === 'Enter') {
            event.preventDefault();
            if (e.value !== s.text || state.focused !== c.id) queue({ verb: 'type', id: c.id, text: e.value });
            act({ verb: 'enter' });
          } else if (event.key === 'Escape') {
            act({ verb: 'escape' });
          }
        });
        break;
      case 'combo_box':
      case 'list_box': {
        const list = c.kind === 'list_box';
        // A combo box's height in the template includes its dropped list.
        e = place(element('select', { class: 'control ' + c.kind, multiple: list && c.multi_select }), c.rect,
          list ? undefined : 12);
        if (list) e.size = Math.max(2, Math.floor(c.rect[3] / 8));
        if (!list) e.append(element('option', { value: '-1' }, ''));
        s.items.forEach((item, i) => {
          const o = element('option', { value: String(i) }, item);
          o.selected = c.multi_select ? s.selected.includes(i) : s.selection === i;
          e.append(o);
        });
        if (!list && s.selection < 0) e.value = '-1';
        e.addEventListener('change', () => {
          if (!c.multi_select) {
            const i = Number(e.value);
            if (i >= 0) queue({ verb: 'pick', id: c.id, index: i });
            return;
          }
          Array.from(e.options).forEach((o, i) => {
            const was = s.selected.includes(i);
            if (o.selected !== was) queue({ verb: o.selected ? 'select' : 'unselect', id: c.id, index: i });
          });
          s.selected = Array.from(e.options).flatMap((o, i) => (o.selected ? [i] : []));
        });
        break;
      }
      case 'check_box': {
        e = place(element('label', { class: 'control check_box' }), c.rect);
        const tick = element('input', { type: 'checkbox' });
        tick.checked = s.checked;
        tick.disabled = !s.enabled;
        tick.addEventListener('click', (event) => {
          event.preventDefault();
          act({ verb: s.checked ? 'untick' : 'tick', id: c.id });
        });
        e.append(tick, labelled(element('span'), s.text));
        break;
      }
      case 'button':
        e = labelled(place(element('button', { type: 'button', class: 'control button' }), c.rect), s.text);
        e.addEventListener('click', () => act({ verb: 'press', id: c.id }));
        break;
      default:
        e = place(element('div', { class: 'control' }), c.rect);
    }
    if (c.id >= 0) e.dataset.controlId = String(c.id);
    if (!s.enabled && e.tagName !== 'LABEL') e.disabled = true;
    if (!s.enabled) e.classList.add('disabled');
    client.append(e);
  }
  area.append(box);
  const focused = client.querySelector(`[data-control-id="${state.focused}"]`);
  if (focused && focused.focus) focused.focus();
}

// A pick or a typed text: played with the next key, tick or button, after the others (so the field
// the Enter key was pressed in has the focus last).
function queue(action) {
  page.pendingActions = page.pendingActions.filter((a) =>
    !(a.id === action.id && (a.verb === 'type' || a.verb === 'pick') && a.verb === action.verb));
  page.pendingActions.push(action);
}

async function act(action) {
  page.actions.push(...page.pendingActions, action);
  page.pendingActions = [];
  await replay();
}

// ---- message boxes ------------------------------------------------------------------------------

// A message box of the module: its caption, text and buttons; resolves with "ok", "yes" or "no".
function messageBox(message, yesNo) {
  return new Promise((resolve) => {
    const modal = $('modal');
    modal.textContent = '';
    const box = element('div', { class: 'message-box', role: 'alertdialog', 'data-style': String(message.style) });
    box.append(element('div', { class: 'caption' }, message.caption));
    const body = element('div', { class: 'body' });
    const icon = (message.style & 0xf0) === 0x10 ? '\u26d4' : (message.style & 0xf0) === 0x40 ? '\u2139' : '\u26a0';
    body.append(element('span', { class: 'icon' }, icon), element('div', { class: 'text' }, message.text.replace(/\r\n?/g, '\n')));
    box.append(body);
    const buttons = element('div', { class: 'buttons' });
    const answers = yesNo ? [['yes', 'Ja'], ['no', 'Nein']] : [['ok', 'OK']];
    for (const [answer, label] of answers) {
      const b = element('button', { type: 'button', 'data-answer': answer }, label);
      b.addEventListener('click', () => {
        modal.hidden = true;
        modal.textContent = '';
        resolve(answer);
      });
      buttons.append(b);
    }
    box.append(buttons);
    modal.append(box);
    modal.hidden = false;
    buttons.querySelector('button').focus();
  });
}

// ---- the session ------------------------------------------------------------------------------

function sessionRequest() {
  return {
    letter: page.letter,
    data: page.data ? page.data.bytes : null,
    name: page.data ? page.data.name : '',
    format: $('data-format').value,
    actions: page.actions,
  };
}

async function replay() {
  const answer = await window.veltrum.session(sessionRequest());
  page.last = answer;
  document.body.dataset.replays = String(Number(document.body.dataset.replays || 0) + 1);
  if (!answer.ok) {
    $('notes').textContent = answer.error || 'Der Test konnte nicht gestartet werden.';
    return;
  }
  $('notes').textContent = [...(answer.notes || []), ...(answer.problems || [])].join('\n');
  if (answer.report) showResult(answer.report, answer.reportBytes, answer.json);
  const tmpl = (await templates).dialogs;
  if (answer.waiting && answer.waiting.kind === 'dialog') drawDialog(tmpl[answer.waiting.template], answer.waiting);
  else $('dialog-area').textContent = '';
  // The message boxes this step brought, one after the other; a question waits for its answer.
  const fresh = answer.messages.slice(page.seenMessages);
  page.seenMessages = answer.messages.length;
  for (const m of fresh) await messageBox(m, false);
  if (answer.waiting && answer.waiting.kind === 'message') {
    const said = await messageBox(answer.waiting, true);
    page.seenMessages += 1;
    page.actions.push({ verb: 'answer', text: said });
    await replay();
  }
  document.body.dataset.idle = String(page.actions.length);
}

function startSession() {
  page.actions = [];
  page.pendingActions = [];
  page.seenMessages = 0;
  $('dialog-area').textContent = '';
  $('result').hidden = true;
  $('report').textContent = '';
  $('plot').textContent = '';
  $('effect-sizes').textContent = '';
  if (!page.letter) return;
  replay();
}

// ---- the result -------------------------------------------------------------------------------

function download(name, bytes, type) {
  const a = element('a', { download: name, href: URL.createObjectURL(new Blob([bytes], { type })) }, name);
  return a;
}

function showResult(text, bytes, json) {
  $('result').hidden = false;
  $('report').textContent = text;
  const links = $('downloads');
  links.textContent = '';
  links.append(download('Ausgabe.txt', bytes, 'text/plain;charset=windows-1252'));
  if (json) links.append(download('veltrum-' + page.letter + '.json', JSON.stringify(json, null, 1), 'application/json'));
  const table = $('effect-sizes');
  table.textContent = '';
  const sizes = (json && json.effect_sizes) || [];
  if (sizes.length) {
    table.append(element('caption', {}, 'Effektstärken'));
    const head = element('tr');
    for (const h of ['Maß', 'Wert', '95 %-Intervall']) head.append(element('th', {}, h));
    table.append(head);
    for (const s of sizes) {
      const row = element('tr');
      const fmt = (x) => (x === null || x === undefined ? '' : Number(x).toFixed(4));
      row.append(element('td', {}, s.name), element('td', {}, fmt(s.value)),
        element('td', {}, s.ci ? `${fmt(s.ci.lower)} … ${fmt(s.ci.upper)}` : ''));
      table.append(row);
    }
  }
  const plot = $('plot');
  plot.textContent = '';
  if (json && window.veltrumPlots && typeof window.veltrumPlots.svgFor === 'function') {
    try {
      const svg = window.veltrumPlots.svgFor(json);
      if (svg) plot.innerHTML = svg;
    } catch (e) {
      plot.textContent = 'Keine Grafik: ' + e.message;
    }
  }
}

// ---- the controls of the page -----------------------------------------------------------------

templates.then((t) => {
  const select = $('letter');
  for (const l of t.letters) select.append(element('option', { value: l.letter }, `${l.letter}: ${l.title}`));
  document.body.dataset.ready = 'true';
});

$('letter').addEventListener('change', () => {
  page.letter = $('letter').value;
  startSession();
});

$('data-file').addEventListener('change', async () => {
  const file = $('data-file').files[0];
  if (!file) return;
  page.data = { name: file.name, bytes: await file.arrayBuffer() };
  $('data-status').textContent = `${file.name}: ${page.data.bytes.byteLength} Bytes`;
  startSession();
});
$('data-format').addEventListener('change', startSession);

// For tests and power users: a data file given as text or bytes instead of a chosen file.
window.veltrum.useData = (name, data) => {
  page.data = { name, bytes: typeof data === 'string' ? new TextEncoder().encode(data).buffer : data };
  $('data-status').textContent = `${name}: ${page.data.bytes.byteLength} Bytes`;
  startSession();
};
