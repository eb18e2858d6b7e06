// The HTML story map in a real browser, as a user meets it: the page loads from a file with no
// network and no script error and opens at the first page with text; a click in the story list
// selects the story's frame, brings it into view and tells where it stands on its page, its
// counts and its fit; a story dragged above another in its page
// and saved gives an order file that, beside the document, reorders 'storyport list --order
// custom'. Exits 77 (skipped) when the browser or its driver is missing, 1 on a failure.
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const SKIP = 77;
const [storyport, sample] = process.argv.slice(2);
const browserPath = process.env.STORYPORT_CHROMIUM || '/usr/bin/chromium';

function skip(why) {
  console.log('SKIPPED: ' + why);
  process.exit(SKIP);
}

let chromium;
try {
  ({ chromium } = require('playwright-core'));
} catch (error) {
  skip('playwright-core is not installed: run npm ci in ' + __dirname);
}
if (!fs.existsSync(browserPath)) {
  skip(browserPath + ' is not installed');
}

const failures = [];
function expect(ok, what) {
  if (!ok) {
    failures.push(what);
    console.log('FAILED: ' + what);
  }
}

function run(args) {
  return childProcess.execFileSync(storyport, args, { encoding: 'utf8' });
}

async function main() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'storyport-map-'));
  const document = path.join(folder, 'brochure.idml');
  fs.copyFileSync(sample, document);
  const settings = ['--settings', path.join(folder, 'settings')];
  run(['map', document, path.join(folder, 'map.html'), ...settings]);
  // The page lists the stories in the map's order; the saved file names them all.
  const before = run(['list', document, '--keys', ...settings]).split('\n');

  const context = await chromium.launchPersistentContext(path.join(folder, 'profile'), {
    executablePath: browserPath,
    headless: true,
    acceptDownloads: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const fetched = [];
    await context.route('**/*', (route) => {
      const url = route.request().url();
      if (url.startsWith('file:') || url.startsWith('blob:')) {
        return route.continue();
      }
      fetched.push(url);
      return route.abort();
    });
    const page = context.pages()[0] || (await context.newPage());
    await page.setViewportSize({ width: 1280, height: 720 });
    const errors = [];
    page.on('console', (message) => {
      if (message.type() === 'error') errors.push(message.text());
    });
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto('file://' + path.join(folder, 'map.html'));
    expect(fetched.length === 0, 'the page fetched nothing, but it asked for ' + fetched);

    // The first frame of a page (not a master page) stands in the window when the page opens.
    const opening = await page.evaluate(() => {
      const frame = document.querySelector('g.frame[data-page]:not([data-page^="-"])' +
        ':not([data-page="0"])');
      const box = frame.getBoundingClientRect();
      return { top: box.top, bottom: box.bottom, scrolled: window.scrollY };
    });
    expect(opening.scrolled > 0 && opening.top >= 0 && opening.bottom <= 720,
      'the page opens at the first page with text: ' + JSON.stringify(opening));

    // The last story's frame is out of view after the top; a click in the list brings it in.
    const items = page.locator('li[draggable]');
    const last = items.last();
    const key = await last.getAttribute('data-story');
    await page.evaluate(() => window.scrollTo(0, 0));
    await last.click();
    const shown = await page.evaluate((story) => {
      const frame = document.querySelector('g.frame[data-key="' + story + '"]');
      const box = frame.getBoundingClientRect();
      return { selected: frame.classList.contains('selected'), top: box.top, bottom: box.bottom,
        left: box.left, right: box.right, width: window.innerWidth, height: window.innerHeight };
    }, key);
    expect(shown.selected, 'a click in the list selects the frame of ' + key);
    expect(shown.top >= 0 && shown.bottom <= shown.height && shown.left >= 0 &&
      shown.right <= shown.width, 'the frame of ' + key + ' is in view: ' + JSON.stringify(shown));
    const told = await page.locator('#info').textContent();
    expect(/ on page \S+\n\d+ words?, \d+ characters?\n(fits|tight|overflows): /.test(told),
      'the panel tells the place, counts and fit of ' + key + ': ' + told);

    // Within the page list that has two stories or more, its last is dragged above its first.
    const lists = page.locator('aside ol');
    let moved = null;
    let target = null;
    for (let n = 0; n < (await lists.count()) && !moved; ++n) {
      const entries = lists.nth(n).locator('li[draggable]');
      if ((await entries.count()) >= 2) {
        moved = entries.last();
        target = entries.first();
      }
    }
    expect(moved !== null, 'a page lists two stories or more');
    const movedKey = await moved.getAttribute('data-story');
    const targetKey = await target.getAttribute('data-story');
    await moved.dragTo(target, { targetPosition: { x: 10, y: 2 } });
    const downloading = page.waitForEvent('download');
    await page.click('#save-order');
    const download = await downloading;
    expect(download.suggestedFilename() === 'brochure.idml.order',
      'the order file is named for the document: ' + download.suggestedFilename());
    await download.saveAs(document + '.order');
    expect(errors.length === 0, 'no script or console error: ' + errors.join('; '));

    const expected = before.filter((line) => line !== movedKey);
    expected.splice(expected.indexOf(targetKey), 0, movedKey);
    const after = run(['list', document, '--keys', '--order', 'custom', ...settings]);
    expect(after === expected.join('\n'), 'list follows the saved order:\n' + after +
      '\nexpected:\n' + expected.join('\n'));
    const listed = run(['list', document, '--order', 'custom', ...settings]);
    expect(listed.split('\n')[0].endsWith('custom order from ' + document + '.order'),
      'list names the order file in force: ' + listed.split('\n')[0]);
  } finally {
    await context.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

main().then(() => {
  if (failures.length > 0) process.exit(1);
  console.log('The story map works in the browser.');
}, (error) => {
  console.log('FAILED: ' + error.stack);
  process.exit(1);
});
