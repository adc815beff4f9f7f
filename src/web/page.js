'use strict';
// The page around the building: the settings panel, the settings in the address, full screen,
// and the offline copy. The building itself, its timers and its settings' ranges belong to the
// module.

const panel = document.getElementById('panel');
const controls = document.querySelector('.controls');
const settingsButton = document.getElementById('settings-button');

// A number typed into the panel is judged once the typing ends: this long after the last key,
// or when the field is left or Enter is pressed.
const TYPING_PAUSE_MS = 1000;
// On a landscape screen the canvas narrows for the open panel, and the module must hear of it;
// a browser that cannot tell keeps the panel over the building instead.
const CANVAS_MAKES_ROOM = 'ResizeObserver' in window;

function showFailure(text) {
  const failure = document.getElementById('failure');
  failure.textContent = text;
  failure.hidden = false;
  controls.hidden = true;
  setPanelOpen(false);
}

// Read by the module as it loads: where to draw, and what to do once it is ready or has failed.
var Module = {
  canvas: document.getElementById('building'),
  onRuntimeInitialized: startPage,
  onSceneExtent: showExtent,
  onAbort: () => showFailure(typeof WebAssembly === 'object'
    ? 'The building could not be loaded: its file ascenda.wasm is missing or damaged on this site. ' +
      'Reloading may help; if not, the site needs its files again.'
    : 'The building needs WebAssembly, which this browser does not have or has turned off.'),
};

// The module has drawn the building afresh: the panel's Fit choice names the scale it fitted,
// and on a portrait screen the panel opens below the building's lowest row.
function showExtent(extent) {
  document.querySelector('#panel [name=scale] option[value=fit]').textContent = `Fit (${extent.scale})`;
  document.documentElement.style.setProperty('--building-bottom', `${extent.bottom / devicePixelRatio}px`);
}

function loadModule() {
  const script = document.createElement('script');
  script.src = 'ascenda.js';
  script.async = true;
  script.onerror = () => showFailure('The building could not be loaded: its file ascenda.js did not arrive. ' +
                                     'Check the connection and reload.');
  document.body.append(script);
}

// name -> {value, minimum, maximum, defaultValue}, as the module holds them now.
function describeSettings() {
  const settings = {};
  for (const line of Module.ccall('AscendaDescribe', 'string', [], []).trim().split('\n')) {
    const [name, value, minimum, maximum, defaultValue] = line.split(' ');
    settings[name] = {value, minimum, maximum, defaultValue};
  }
  return settings;
}

// The words of the input's label, without its list's choices.
function labelOf(input) {
  const words = [...input.parentElement.childNodes].find((node) => node.nodeType === Node.TEXT_NODE &&
                                                                     node.textContent.trim());
  return words ? words.textContent.trim() : input.name;
}

function showSettings() {
  const settings = describeSettings();
  for (const input of panel.elements) {
    const setting = settings[input.name];
    if (!setting)
      continue;
    if (input.type === 'checkbox') {
      input.checked = setting.value === '1';
    } else if (input.type === 'color') {
      input.value = '#' + setting.value.toLowerCase();
    } else {
      // A list of numbers after its named choices ("Fit"), filled from the range once.
      if (input.tagName === 'SELECT' && input.dataset.range !== undefined && input.dataset.range === '') {
        for (let number = Number(setting.minimum); number <= Number(setting.maximum); ++number)
          input.add(new Option(String(number)));
        input.dataset.range = 'filled';
      }
      if (input.tagName === 'INPUT') {
        input.min = setting.minimum;
        input.max = setting.maximum;
        input.title = `${setting.minimum} to ${setting.maximum}, default ${setting.defaultValue}`;
      }
      input.value = setting.value;
    }
    input.dataset.taken = input.value;
    input.setCustomValidity('');
    const output = input.parentElement.querySelector('output');
    if (output)
      output.value = input.value;
  }
}

// The address always gives the view the page shows, so that it can be shared as a link.
function rewriteAddress() {
  history.replaceState(null, '', location.pathname + Module.ccall('AscendaQuery', 'string', [], []) + location.hash);
}

function applySetting(input) {
  const value = input.type === 'checkbox' ? (input.checked ? '1' : '0') : input.value;
  const rejected = document.getElementById('rejected');
  if (!Module.ccall('AscendaSet', 'number', ['string', 'string'], [input.name, value])) {
    // Left as typed, so that it can be mended; the building keeps the last value taken.
    input.setCustomValidity(`${input.min} to ${input.max}`);
    rejected.textContent = `${labelOf(input)}: ${input.min} to ${input.max}`;
    return;
  }
  rejected.textContent = '';
  input.dataset.taken = value;
  input.setCustomValidity('');
  const output = input.parentElement.querySelector('output');
  if (output)
    output.value = input.value;
  rewriteAddress();
}

// Sliders, lists and boxes take effect as they move; a number field once its typing ends, and
// only when it says something new (a change event follows the pause when the field is left).
const typingTimers = new Map();
function onSettingInput(event) {
  const input = event.target;
  if (input.type !== 'number') {
    if (event.type === 'input')
      applySetting(input);
    return;
  }
  clearTimeout(typingTimers.get(input));
  if (event.type === 'input')
    typingTimers.set(input, setTimeout(() => onSettingInput({type: 'change', target: input}), TYPING_PAUSE_MS));
  else if (input.value !== input.dataset.taken)
    applySetting(input);
}

function setPanelOpen(open) {
  panel.hidden = !open;
  document.documentElement.classList.toggle('panel-open', open && CANVAS_MAKES_ROOM);
  settingsButton.setAttribute('aria-expanded', String(open));
}

// A parameter of the address the page did not take ("name=value"), in the panel's words: what
// the setting allows, and what the page uses instead.
function describeIgnored(parameter, settings) {
  const equals = parameter.indexOf('=');
  const name = equals < 0 ? parameter : parameter.slice(0, equals);
  const value = equals < 0 ? '' : parameter.slice(equals + 1);
  const input = panel.elements.namedItem(name);
  const setting = settings[name];
  if (!input || !setting)
    return `“${name}” is not a setting.`;
  let allowed = `${setting.minimum} to ${setting.maximum}`;
  let used = setting.value;
  if (input.tagName === 'SELECT') {
    const names = [...input.options].filter((option) => isNaN(option.value)).map((option) => option.text);
    if (name === 'driver')
      allowed = `${allowed}, or ` +
          [...input.options].map((option) => option.text).join(', ').replace(/, ([^,]*)$/, ' or $1') + ' in any case';
    else if (names.length)
      allowed = `${names.join(', ')} or ${allowed}`;
    used = input.selectedOptions[0]?.text ?? used;
  } else if (input.type === 'color') {
    allowed = 'a colour as RRGGBB';
    used = '#' + setting.value;
  } else if (input.type === 'checkbox') {
    allowed = '0 or 1';
    used = setting.value === '1' ? 'on' : 'off';
  }
  return `${labelOf(input)}: “${value}” is not ${allowed}; using ${used}.`;
}

// The longest note shown: the rest is cut at a word, with an ellipsis.
const NOTE_LIMIT = 300;
function capNote(text) {
  if (text.length <= NOTE_LIMIT)
    return text;
  const cut = text.lastIndexOf(' ', NOTE_LIMIT - 1);
  return text.slice(0, cut > 0 ? cut : NOTE_LIMIT - 1) + ' …';
}

function showNote(text) {
  document.getElementById('note-text').textContent = text;
  document.getElementById('note').hidden = false;
  setPanelOpen(true);
}

async function copyLink() {
  const copied = document.getElementById('copied');
  try {
    await navigator.clipboard.writeText(location.href);
    copied.textContent = 'Link copied';
  } catch {
    // No clipboard for this page (an insecure origin, or permission refused): the link to copy by hand.
    copied.textContent = location.href;
  }
}

// As the saver ends on input, full screen ends by the same rule (the module's): a key, a click or
// touch, the wheel, or the pointer moving beyond a pixel from where it is first seen. The
// listeners stay in place and ask whether the page is full screen: the browser reports it before
// its change event, and a key pressed in between must end it too.
function onInputInFullScreen(event) {
  if (!document.fullscreenElement)
    return;
  const ends = event.type === 'pointermove' ?
      Module.ccall('AscendaPointerEnds', 'number', ['number', 'number'], [event.screenX, event.screenY]) :
      Module.ccall('AscendaInputEnds', 'number', ['string'],
                   [event.type === 'pointerdown' && event.pointerType === 'touch' ? 'touch' : event.type]);
  if (!ends)
    return;
  event.preventDefault();
  document.exitFullscreen().catch(() => {});
}

function onKeyDown(event) {
  if (event.key === 'Escape' && !panel.hidden && !document.fullscreenElement) {
    setPanelOpen(false);
    settingsButton.focus();
  }
}

// A move to a screen of another pixel density changes no CSS size, so neither the window's resize
// nor the canvas's observer reports it: a query on the density does, once per density.
// The query is kept: the browser may drop an unreferenced one with its listener.
let pixelRatioQuery = null;
function followPixelRatio() {
  pixelRatioQuery = matchMedia(`(resolution: ${devicePixelRatio}dppx)`);
  pixelRatioQuery.addEventListener('change', () => {
    Module.ccall('AscendaResize', null, [], []);
    followPixelRatio();
  }, {once: true});
}

function startPage() {
  const ignored = Module.ccall('AscendaStart', 'string', ['string', 'string'], ['#building', location.search]);
  // The canvas also changes size when the panel opens beside it, with the window unchanged.
  if (CANVAS_MAKES_ROOM)
    new ResizeObserver(() => Module.ccall('AscendaResize', null, [], [])).observe(Module.canvas);
  followPixelRatio();
  showSettings();
  rewriteAddress();
  controls.hidden = false;
  if (ignored) {
    const settings = describeSettings();
    const said = ignored.trim().split('\n').map((parameter) => describeIgnored(parameter, settings));
    showNote(capNote(`From the address: ${said.join(' ')}`));
  }
  panel.addEventListener('input', onSettingInput);
  panel.addEventListener('change', onSettingInput);
  panel.addEventListener('submit', (event) => event.preventDefault());
  settingsButton.addEventListener('click', () => setPanelOpen(panel.hidden));
  document.getElementById('copy-button').addEventListener('click', copyLink);
  document.getElementById('note-dismiss').addEventListener('click', () => {
    document.getElementById('note').hidden = true;
  });
  const fullScreen = document.getElementById('fullscreen-button');
  fullScreen.hidden = !document.fullscreenEnabled;
  fullScreen.addEventListener('click', () => document.documentElement.requestFullscreen().catch(() => {}));
  document.addEventListener('fullscreenchange', () => Module.ccall('AscendaForgetPointer', null, [], []));
  for (const type of ['keydown', 'keyup', 'pointerdown', 'pointermove', 'wheel'])
    document.addEventListener(type, onInputInFullScreen, {capture: true, passive: false});
  document.addEventListener('keydown', onKeyDown);
}

loadModule();
// A copy of the site's files for a visit without a network; a newer site replaces it on the
// next visit that has one.
if ('serviceWorker' in navigator)
  navigator.serviceWorker.register('sw.js').catch(() => {});
