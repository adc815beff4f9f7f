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

function showFailure(text) {
  const failure = document.getElementById('failure');
  failure.textContent = text;
  failure.hidden = false;
  controls.hidden = true;
  panel.hidden = true;
}

// Read by the module as it loads: where to draw, and what to do once it is ready or has failed.
var Module = {
  canvas: document.getElementById('building'),
  onRuntimeInitialized: startPage,
  onAbort: () => showFailure(typeof WebAssembly === 'object'
    ? 'The building could not be loaded: its file ascenda.wasm is missing or damaged on this site. ' +
      'Reloading may help; if not, the site needs its files again.'
    : 'The building needs WebAssembly, which this browser does not have or has turned off.'),
};

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

function labelOf(input) {
  return input.parentElement.firstChild.textContent.trim();
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
  settingsButton.setAttribute('aria-expanded', String(open));
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

// As the saver ends on input, full screen ends on a key, a click or touch, the wheel, or the
// pointer moving away from the first place it is seen. The listeners stay in place and ask
// whether the page is full screen: the browser reports it before its change event, and a key
// pressed in between must end it too.
let firstPointer = null;
function onInputInFullScreen(event) {
  if (!document.fullscreenElement)
    return;
  if (event.type === 'pointermove') {
    if (firstPointer === null) {
      firstPointer = {x: event.screenX, y: event.screenY};
      return;
    }
    if (event.screenX === firstPointer.x && event.screenY === firstPointer.y)
      return;
  }
  event.preventDefault();
  document.exitFullscreen().catch(() => {});
}

function onKeyDown(event) {
  if (event.key === 'Escape' && !panel.hidden && !document.fullscreenElement) {
    setPanelOpen(false);
    settingsButton.focus();
  }
}

function startPage() {
  const ignored = Module.ccall('AscendaStart', 'string', ['string', 'string'], ['#building', location.search]);
  showSettings();
  rewriteAddress();
  controls.hidden = false;
  if (ignored)
    showNote(`Ignored, using the defaults instead: ${ignored}`);
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
  document.addEventListener('fullscreenchange', () => { firstPointer = null; });
  for (const type of ['keydown', 'pointerdown', 'pointermove', 'wheel'])
    document.addEventListener(type, onInputInFullScreen, {capture: true, passive: false});
  document.addEventListener('keydown', onKeyDown);
}

loadModule();
// A copy of the site's files for a visit without a network; a newer site replaces it on the
// next visit that has one.
if ('serviceWorker' in navigator)
  navigator.serviceWorker.register('sw.js').catch(() => {});
