'use strict';
// The page around the building: the settings panel, the settings in the address, full screen,
// and the offline copy. The building itself, its timers and its settings' ranges belong to the
// module.

// The site's version, which the page gives this script's address ("?v=..."): the module's files
// are asked for under the same, so that a browser never pairs them with another version's page.
const SITE_VERSION = new URL(document.currentScript.src).search;

const panel = document.getElementById('panel');
const controls = document.querySelector('.controls');
const settingsButton = document.getElementById('settings-button');

// A number typed into the panel is judged once the typing ends: this long after the last key,
// or when the field is left or Enter is pressed.
const TYPING_PAUSE_MS = 1000;
// On a landscape screen the canvas narrows for the open panel, and the module must hear of it;
// a browser that cannot tell keeps the panel over the building instead.
const CANVAS_MAKES_ROOM = 'ResizeObserver' in window;

// A quiet sign of loading appears once the module has taken this long; with nothing arriving for
// this long the connection is taken as dead, and the page says so.
const LOADING_SIGN_MS = 1000;
const STALL_MS = 15000;

const LOAD_FAILED = 'The building could not be loaded: the connection dropped, or the site\'s files did not ' +
                    'arrive whole.';
const NO_WEBASSEMBLY = 'The building needs WebAssembly, which this browser does not have or has turned off.';

let loadFailed = false;
let stallTimer = 0;
const loadingSign = setTimeout(() => { document.getElementById('loading').hidden = false; }, LOADING_SIGN_MS);
const download = new AbortController();

function showFailure(text, canRetry) {
  clearTimeout(loadingSign);
  document.getElementById('loading').hidden = true;
  document.getElementById('failure-text').textContent = text;
  const retry = document.getElementById('retry');
  retry.hidden = !canRetry;
  document.getElementById('failure').hidden = false;
  controls.hidden = true;
  setPanelOpen(false);
  if (canRetry)
    retry.focus();
}

// Every way of not loading (an HTTP error, a damaged file, a dropped or stalled connection) ends
// here, once, with the same message and a way to try again.
function failLoading(reason) {
  if (loadFailed)
    return;
  loadFailed = true;
  clearTimeout(stallTimer);
  download.abort();
  console.warn('Ascenda Vintra did not load:', String(reason));
  showFailure(LOAD_FAILED, true);
}

// Something arrived: the stall watch starts again.
function noteProgress() {
  clearTimeout(stallTimer);
  stallTimer = setTimeout(() => failLoading(`nothing arrived for ${STALL_MS / 1000} s`), STALL_MS);
}

// The module is fetched here rather than by its own loader, which leaves a dropped connection as an
// uncaught error and waits without end on a stalled one. It is still compiled as it arrives, as a
// module whatever type the host gives the file, and each piece that arrives restarts the stall watch.
function instantiateModule(imports, receiveInstance) {
  if (loadFailed)
    return {};
  fetch('ascenda.wasm' + SITE_VERSION, {credentials: 'same-origin', signal: download.signal})
    .then((response) => {
      if (!response.ok)
        throw new Error(`ascenda.wasm: HTTP ${response.status}`);
      noteProgress();
      const reader = response.body.getReader();
      const watched = new ReadableStream({
        async pull(controller) {
          const {done, value} = await reader.read();
          if (done) {
            controller.close();
            return;
          }
          noteProgress();
          controller.enqueue(value);
        },
      });
      return WebAssembly.instantiateStreaming(new Response(watched, {headers: {'Content-Type': 'application/wasm'}}),
                                              imports);
    })
    .then((result) => {
      if (!loadFailed)
        receiveInstance(result.instance, result.module);
    })
    .catch(failLoading);
  return {};
}

// Read by the module as it loads: where to draw, how to fetch its code, and what to do once it is
// ready or has failed.
var Module = {
  canvas: document.getElementById('building'),
  instantiateWasm: instantiateModule,
  onRuntimeInitialized: startPage,
  onSceneExtent: showExtent,
  onAbort: failLoading,
};

// The module has drawn the building afresh: the panel's Fit choice names the scale it fitted,
// and on a portrait screen the panel opens below the building's lowest row.
function showExtent(extent) {
  document.querySelector('#panel [name=scale] option[value=fit]').textContent = `Fit (${extent.scale})`;
  document.documentElement.style.setProperty('--building-bottom', `${extent.bottom / extent.ratio}px`);
}

function loadModule() {
  if (typeof WebAssembly !== 'object') {
    showFailure(NO_WEBASSEMBLY, false);
    return;
  }
  const script = document.createElement('script');
  script.src = 'ascenda.js' + SITE_VERSION;
  script.async = true;
  script.onload = noteProgress;
  script.onerror = () => failLoading('ascenda.js did not arrive');
  document.body.append(script);
  noteProgress();
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
  followAddress();
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
  // Focus inside a panel about to hide would fall to the page's start: it goes to Settings.
  if (!open && panel.contains(document.activeElement))
    settingsButton.focus();
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
    // The named choices as the address writes them ("fit"): the list's text also names the scale fitted.
    const names = [...input.options].filter((option) => isNaN(option.value)).map((option) => option.value);
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

// The longest note shown: whole sentences up to it, then how many more of `count` were left out
// (the module lists as many as its buffer holds).
const NOTE_LIMIT = 300;
function composeNote(said, count) {
  let text = 'From the address:';
  let shown = 0;
  while (shown < said.length && (text + ' ' + said[shown]).length <= NOTE_LIMIT)
    text += ' ' + said[shown++];
  // The first is shown whatever its length: a note of nothing but a count would say too little.
  if (shown === 0)
    text += ' ' + said[shown++];
  const rest = count - shown;
  return rest > 0 ? `${text} … and ${rest} more not taken.` : text;
}

function showNote(text) {
  document.getElementById('note-text').textContent = text;
  document.getElementById('note').hidden = false;
  setPanelOpen(true);
}

async function copyLink() {
  const copied = document.getElementById('copied');
  const link = document.getElementById('link');
  const address = location.href;
  try {
    await navigator.clipboard.writeText(address);
    link.hidden = true;
    // Said only while it is true: a later change of the address takes it away.
    copied.textContent = address === location.href ? 'Link copied' : '';
  } catch {
    // No clipboard for this page (an insecure origin, or permission refused): the link, selected,
    // to be copied by hand.
    copied.textContent = 'Copying was refused; copy the link below by hand.';
    link.hidden = false;
    link.value = location.href;
    link.focus();
    link.select();
  }
}

// What the panel shows of the link follows the address: the link to copy by hand is the current
// one, and "Link copied" no longer holds once the address has changed.
function followAddress() {
  const link = document.getElementById('link');
  if (link.hidden) {
    document.getElementById('copied').textContent = '';
    return;
  }
  const selected = link.selectionStart === 0 && link.selectionEnd === link.value.length;
  link.value = location.href;
  if (selected)
    link.select();
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

// The note's × is gone once used: the keyboard goes on from the first setting after it.
function dismissNote() {
  document.getElementById('note').hidden = true;
  panel.querySelector('fieldset input, fieldset select').focus();
}

// Leaving full screen shows the button that entered it again, and the focus goes back to it
// rather than to the page's start.
function onFullScreenChange() {
  Module.ccall('AscendaForgetPointer', null, [], []);
  const button = document.getElementById('fullscreen-button');
  if (!document.fullscreenElement)
    button.focus();
}

function startPage() {
  clearTimeout(stallTimer);
  clearTimeout(loadingSign);
  document.getElementById('loading').hidden = true;
  const ignored = Module.ccall('AscendaStart', 'string', ['string', 'string'], ['#building', location.search]);
  // The canvas also changes size when the panel opens beside it, with the window unchanged.
  if (CANVAS_MAKES_ROOM)
    new ResizeObserver(() => Module.ccall('AscendaResize', null, [], [])).observe(Module.canvas);
  followPixelRatio();
  showSettings();
  rewriteAddress();
  controls.hidden = false;
  const [ignoredCount, ...parameters] = ignored.split('\n');
  if (Number(ignoredCount) > 0) {
    const settings = describeSettings();
    const said = parameters.filter(Boolean).map((parameter) => describeIgnored(parameter, settings));
    showNote(composeNote(said, Number(ignoredCount)));
  }
  panel.addEventListener('input', onSettingInput);
  panel.addEventListener('change', onSettingInput);
  panel.addEventListener('submit', (event) => event.preventDefault());
  settingsButton.addEventListener('click', () => setPanelOpen(panel.hidden));
  document.getElementById('copy-button').addEventListener('click', copyLink);
  document.getElementById('note-dismiss').addEventListener('click', dismissNote);
  const fullScreen = document.getElementById('fullscreen-button');
  fullScreen.hidden = !document.fullscreenEnabled;
  fullScreen.addEventListener('click', () => document.documentElement.requestFullscreen().catch(() => {}));
  document.addEventListener('fullscreenchange', onFullScreenChange);
  for (const type of ['keydown', 'keyup', 'pointerdown', 'pointermove', 'wheel'])
    document.addEventListener(type, onInputInFullScreen, {capture: true, passive: false});
  document.addEventListener('keydown', onKeyDown);
}

document.getElementById('retry').addEventListener('click', () => location.reload());
loadModule();
// A copy of the site's files for a visit without a network; a newer site replaces it on the
// next visit that has one.
if ('serviceWorker' in navigator)
  navigator.serviceWorker.register('sw.js').catch(() => {});
