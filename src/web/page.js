'use strict';
// The page around the building: the settings panel, the settings in the address, and full
// screen. The building itself, its timers and its settings' ranges belong to the module.

const panel = document.getElementById('panel');

// Read by the module as it loads: where to draw, and what to do once it is ready.
var Module = {
  canvas: document.getElementById('building'),
  onRuntimeInitialized: startPage,
};

// name -> {value, minimum, maximum, defaultValue}, as the module holds them now.
function describeSettings() {
  const settings = {};
  for (const line of Module.ccall('AscendaDescribe', 'string', [], []).trim().split('\n')) {
    const [name, value, minimum, maximum, defaultValue] = line.split(' ');
    settings[name] = {value, minimum, maximum, defaultValue};
  }
  return settings;
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
    input.setCustomValidity('');
    const output = input.parentElement.querySelector('output');
    if (output)
      output.value = input.value;
  }
}

function onSettingInput(event) {
  const input = event.target;
  const value = input.type === 'checkbox' ? (input.checked ? '1' : '0') : input.value;
  const rejected = document.getElementById('rejected');
  if (!Module.ccall('AscendaSet', 'number', ['string', 'string'], [input.name, value])) {
    // Left as typed, so that it can be mended; the building keeps the last value taken.
    input.setCustomValidity(`${input.min} to ${input.max}`);
    rejected.textContent = `${input.parentElement.firstChild.textContent.trim()}: ${input.min} to ${input.max}`;
    return;
  }
  rejected.textContent = '';
  input.setCustomValidity('');
  const output = input.parentElement.querySelector('output');
  if (output)
    output.value = input.value;
  // The address always gives this view, so that it can be shared as a link.
  history.replaceState(null, '', location.pathname + Module.ccall('AscendaQuery', 'string', [], []));
}

function togglePanel() {
  const button = document.getElementById('settings-button');
  panel.hidden = !panel.hidden;
  button.setAttribute('aria-expanded', String(!panel.hidden));
}

// As the saver ends on input, full screen ends on a key, a click or touch, or the pointer moving
// away from the first place it is seen. The listeners stay in place and ask whether the page is
// full screen: the browser reports it before its change event, and a key pressed in between
// must end it too.
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

function startPage() {
  const ignored = Module.ccall('AscendaStart', 'string', ['string', 'string'], ['#building', location.search]);
  showSettings();
  if (ignored) {
    // Each ignored parameter with what the page uses instead: the default, or an earlier valid
    // value of the same setting.
    const settings = describeSettings();
    const said = ignored.split('\n').map((parameter) => {
      const setting = settings[parameter.split('=')[0]];
      return setting ? `${parameter} (using ${setting.value})` : `${parameter} (no such setting)`;
    });
    const note = document.getElementById('ignored');
    note.textContent = `Ignored: ${said.join(', ')}`;
    note.hidden = false;
    togglePanel();
  }
  panel.addEventListener('input', onSettingInput);
  panel.addEventListener('submit', (event) => event.preventDefault());
  document.getElementById('settings-button').addEventListener('click', togglePanel);
  const fullScreen = document.getElementById('fullscreen-button');
  fullScreen.hidden = !document.fullscreenEnabled;
  fullScreen.addEventListener('click', () => document.documentElement.requestFullscreen().catch(() => {}));
  document.addEventListener('fullscreenchange', () => { firstPointer = null; });
  for (const type of ['keydown', 'pointerdown', 'pointermove'])
    document.addEventListener(type, onInputInFullScreen, true);
}
