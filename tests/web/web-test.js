// The browser build in headless Chromium: the menu as the desktop game draws
// it, level 1 solved with the fewest clicks, the record kept across a reload,
// a screenshot and the logs as downloads, the menu's Quit, and the messages
// where WebGL 2 or the game's code is missing. Run by run.sh, which passes
// these in the environment: ZV_URL ZV_WORK ZV_MENU ZV_READY ZV_CLICKS ZV_BOARD.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const puppeteer = require('puppeteer-core');

const env = (k) => process.env[k] || fail(`${k} is not set`);
const URL = env('ZV_URL'), WORK = env('ZV_WORK');
const PLAYER = '/home/web_user/.local/share/zarvel/';
const LEVEL = PLAYER + 'Assets/Scripts/Levels/zv.1.lvl';
const DOWNLOADS = path.join(WORK, 'downloads');
// Pictures are compared as 16 x 12 cells (50 x 50 pixels of the game): the
// largest mean difference of one cell, 0-255. Sparkles and turning tiles
// move a cell by a few levels; a missing title or menu, or a wrong texture,
// by 50 and more.
const SAME = 20;

function fail(msg) { throw new Error(msg); }
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// A picture as 16 x 12 RGB cells, by ImageMagick.
function cells(file) {
  return execFileSync('convert', [file, '-resize', '16x12!', '-depth', '8', 'rgb:-']);
}
// Only the cells of columns [from, to) count.
function distance(a, b, [from, to] = [0, 16]) {
  let worst = 0;
  for (let i = 0; i < a.length; i += 3) {
    const col = (i / 3) % 16;
    if (col < from || col >= to) continue;
    const d = (Math.abs(a[i] - b[i]) + Math.abs(a[i + 1] - b[i + 1]) + Math.abs(a[i + 2] - b[i + 2])) / 3;
    worst = Math.max(worst, d);
  }
  return worst;
}

(async () => {
  const times = [];
  let t0 = Date.now();
  const phase = (name) => { const t = Date.now(); times.push([name, (t - t0) / 1000]); t0 = t; console.log(`ok: ${name}`); };
  const refs = { menu: cells(env('ZV_MENU')), ready: cells(env('ZV_READY')) };
  const clicks = fs.readFileSync(env('ZV_CLICKS'), 'utf8').trim().split('\n').map((l) => l.split(/\s+/).map(Number));
  const [W, H] = fs.readFileSync(env('ZV_BOARD'), 'utf8').split('\n')[0].trim().split(/\s+/).map(Number);
  fs.mkdirSync(DOWNLOADS, { recursive: true });

  const browser = await puppeteer.launch({
    executablePath: process.env.ZV_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: path.join(WORK, 'profile'),
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--autoplay-policy=no-user-gesture-required', '--window-size=800,640'],
  });
  const problems = [];
  const warnings = [];
  const page = await browser.newPage();
  const watch = (p) => {
    p.on('console', (m) => {
      const where = m.location() && m.location().url ? ` (${m.location().url})` : '';
      if (m.type() === 'error') problems.push(`console error: ${m.text()}${where}`);
      if (m.type() === 'warn' || m.type() === 'warning') warnings.push(`${m.text()}${where}`);
    });
    p.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
    p.on('requestfailed', (r) => problems.push(`request failed: ${r.url()} ${r.failure() && r.failure().errorText}`));
    p.on('response', (r) => { if (r.status() >= 400) problems.push(`HTTP ${r.status()}: ${r.url()}`); });
  };
  watch(page);
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: DOWNLOADS });

  const canvas = () => page.$('#canvas');
  const rect = () => page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    const s = document.getElementById('stage').getBoundingClientRect();
    return { x: r.left, y: r.top, w: r.width, h: r.height, sx: s.left, sy: s.top, sw: s.width, sh: s.height,
      cw: document.getElementById('canvas').width, ch: document.getElementById('canvas').height,
      look: getComputedStyle(document.getElementById('canvas')).imageRendering };
  });
  let shots = 0;
  async function shot() {
    const file = path.join(WORK, `canvas-${shots++ % 2}.png`);
    await (await canvas()).screenshot({ path: file });
    return file;
  }
  // An error box over the picture ends the test at once.
  async function pageFailure() {
    return page.evaluate(() => { const m = document.getElementById('message'); return m.hidden ? '' : m.innerText; });
  }
  // Polls the canvas until it is (or, with differ, is no longer) like ref.
  async function waitPicture(what, ref, seconds, differ = false, cols = undefined) {
    const end = Date.now() + seconds * 1000;
    let d = -1, file;
    while (Date.now() < end) {
      file = await shot();
      d = distance(cells(file), ref, cols);
      if (differ ? d > SAME : d <= SAME) return d;
      const box = await pageFailure();
      if (box) fail(`waiting for ${what}, the page shows: ${box}`);
      await sleep(500);
    }
    fs.copyFileSync(file, path.join(WORK, `last-${what.replace(/\W+/g, '-')}.png`));
    fail(`${what}: not seen in ${seconds} s (last difference ${d.toFixed(1)}, ${differ ? 'above' : 'at most'} ${SAME} expected; picture kept in ${WORK})`);
  }
  const frames = () => page.evaluate(() => Module.zarvelFrames);
  async function waitFrames(n) {  // or until the game has ended
    const f = (await frames()) + n;
    await page.waitForFunction((f) => Module.zarvelFrames >= f || !document.getElementById('thanks').hidden,
      { polling: 50, timeout: 120000 }, f);
  }
  // The game polls input once a frame: each press spans two frames, and two
  // more pass before the next.
  async function key(k) {
    await page.keyboard.down(k); await waitFrames(2);
    await page.keyboard.up(k); await waitFrames(2);
  }
  async function click(x, y) {  // in the page's pixels
    await page.mouse.move(x, y); await waitFrames(1);
    await page.mouse.down(); await waitFrames(2);
    await page.mouse.up(); await waitFrames(2);
  }
  async function download(name, seconds = 30) {
    const file = path.join(DOWNLOADS, name);
    for (let i = 0; i < seconds * 4 && !fs.existsSync(file); i++) await sleep(250);
    if (!fs.existsSync(file)) fail(`no download of "${name}" (found: ${fs.readdirSync(DOWNLOADS).join(', ') || 'nothing'})`);
    return fs.readFileSync(file);
  }
  const readLevel = () => page.evaluate((p) => { try { return Module.FS.readFile(p, { encoding: 'utf8' }); } catch (e) { return null; } }, LEVEL);
  async function setView(w, h) {
    await page.setViewport({ width: w, height: h });
    await page.waitForFunction((w) => document.getElementById('stage').getBoundingClientRect().width === w, { polling: 50, timeout: 5000 }, w);
    // Resize observers have run once two frames were drawn.
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    return rect();
  }

  // 1. The page loads and the game reaches its menu, drawn as on the desktop.
  await page.goto(URL, { waitUntil: 'load' });
  const title = await page.title();
  if (title !== 'Zarvel') fail(`page title "${title}", expected "Zarvel"`);
  // The window leaves exactly 800 x 600 above the bar of buttons.
  const bar = await page.evaluate(() => window.innerHeight - document.getElementById('stage').clientHeight);
  await setView(800, 600 + bar);
  const menuDiff = await waitPicture('the main menu', refs.menu, 180);
  if (!await page.evaluate(() => document.getElementById('loading').hidden)) fail('the progress box stays over the running game');
  phase('download, start and main menu');
  const f0 = await frames(), s0 = Date.now();
  await sleep(5000);
  const fps = ((await frames()) - f0) / ((Date.now() - s0) / 1000);

  // The menu against deliberately wrong pictures: flipped, and with the
  // title painted over. Each must be far outside the tolerance.
  const menuShot = await shot();
  const wrong = [['-flip'], ['-fill', '#1b2348', '-draw', 'rectangle 200,55 520,125']].map((op, i) => {
    const out = path.join(WORK, `wrong-${i}.png`);
    execFileSync('convert', [env('ZV_MENU'), ...op, out]);
    return distance(cells(menuShot), cells(out));
  });
  if (wrong.some((d) => d <= SAME * 1.5)) fail(`a wrong menu picture passes as the menu: differences ${wrong}`);

  // The picture fits the stage at its own aspect ratio, centred; sharp when
  // enlarged by a whole multiple; at its own size when there is room for exactly that.
  for (const [w, h] of [[1000, 900], [1600, 1200 + bar], [1200, 600 + bar], [640, 480], [800, 600 + bar]]) {
    const r = await setView(w, h);
    const s = Math.min(r.sw / r.cw, r.sh / r.ch);
    const bad = [Math.abs(r.w - Math.floor(r.cw * s)), Math.abs(r.h - Math.floor(r.ch * s)),
      Math.abs(r.x - r.sx - (r.sw - r.w) / 2), Math.abs(r.y - r.sy - (r.sh - r.h) / 2)].some((e) => e > 1);
    const look = s >= 1 && Math.abs(s - Math.round(s)) < 0.01 ? 'pixelated' : 'auto';
    if (bad || r.look !== look) fail(`window ${w}x${h}: canvas ${r.cw}x${r.ch} shown at ${r.x},${r.y} ${r.w}x${r.h} (${r.look}) in a stage of ${r.sw}x${r.sh}; expected scale ${s.toFixed(3)}, centred, ${look}`);
  }
  const r1 = await rect();
  if (r1.x !== 0 || r1.y !== 0 || r1.w !== 800 || r1.h !== 600) fail(`at 800x${600 + bar} the picture is at ${r1.x},${r1.y} ${r1.w}x${r1.h}, expected 0,0 800x600`);
  // Full screen: the stage alone fills the screen, the picture centred in it.
  await page.click('#fullscreen');
  await page.waitForFunction(() => document.fullscreenElement === document.getElementById('stage') &&
    Math.abs(document.getElementById('canvas').getBoundingClientRect().top - (innerHeight - 600) / 2) <= 1,
  { polling: 100, timeout: 10000 }).catch(async () => fail(`full screen: ${JSON.stringify(await rect())}`));
  await page.evaluate(() => document.exitFullscreen());
  await page.waitForFunction(() => !document.fullscreenElement && document.getElementById('canvas').getBoundingClientRect().top === 0,
    { polling: 100, timeout: 10000 });
  phase('frame rate, wrong pictures and scaling');

  // 2. Level 1 with the fewest clicks; the record appears in the player's folder.
  await page.evaluate(() => {
    const own = Module.zarvelFileSaved;
    window.zvSaved = [];
    Module.zarvelFileSaved = (p) => { window.zvSaved.push(p); own(p); };
  });
  if (await readLevel() !== null) fail('a record of level 1 exists before it was played');
  await key('Enter');
  await waitPicture('the level select (a picture unlike the menu)', refs.menu, 60, true);
  await key('Enter');
  // The board differs from start to start (a random inversion, blocks
  // turned at random): the level's panel on the left tells it is there.
  const readyDiff = await waitPicture('level 1 with its panel', refs.ready, 60, false, [0, 3]);
  const r = await rect();
  const scale = r.w / r.cw;
  await click(r.x + 60 * scale, r.y + 560 * scale);
  phase('menu to level 1');
  const t = Math.tan(Math.PI / 6);
  for (const [i, j] of clicks) {  // the block's centre seen from the first camera
    const x = i * 32 - (W * 32 * 0.5 - 16), y = j * 32 - (H * 32 * 0.5 - 16);
    const nx = (x + 15) / 110 / (t * 800 / 600), ny = y / 110 / t;
    await click(Math.trunc(r.x + (nx + 1) * 400 * scale), Math.trunc(r.y + (1 - ny) * 300 * scale));
    await waitFrames(2);
  }
  await page.waitForFunction((p) => window.zvSaved.includes(p), { polling: 250, timeout: 120000 }, LEVEL)
    .catch(() => fail('the record of level 1 was not saved (no zarvelFileSaved call for it)'));
  const record = await readLevel();
  if (record === null) fail('the record of level 1 is not in the file system');
  const lines = record.trim().split('\n').map((l) => l.trim());
  const [bestTime, par, bestMoves] = lines.slice(-3).map(Number);
  if (bestMoves !== clicks.length || par !== clicks.length || !(bestTime < 599999)) {
    fail(`record after ${clicks.length} clicks: best time ${bestTime}, par ${par}, best moves ${bestMoves} (file: ${lines.join(' | ')})`);
  }
  phase(`level 1 solved in ${clicks.length} clicks`);

  // 3. F2: the screenshot comes as a download of the presented frame. The
  // board is let come to rest first (the panel's badges keep pulsing: only
  // the columns right of the panel count).
  const board = [3, 16];
  for (let prev = null, c = null, i = 0; !prev || distance(c, prev, board) > SAME / 4; i++) {
    if (i > 240) fail('the completed board does not come to rest');
    prev = c; c = cells(await shot()); await sleep(250);
  }
  await key('F2');
  const bmp = await download('Zarvel Image 0.bmp');
  if (bmp.toString('latin1', 0, 2) !== 'BM' || bmp.readInt32LE(18) !== 800 || Math.abs(bmp.readInt32LE(22)) !== 600) {
    fail(`the screenshot download is not an 800x600 BMP (${bmp.length} bytes)`);
  }
  const bmpFile = path.join(WORK, 'screenshot.bmp');
  fs.writeFileSync(bmpFile, bmp);
  const shotDiff = distance(cells(bmpFile), cells(await shot()), board);
  if (shotDiff > SAME) fail(`the screenshot differs from the picture shown by ${shotDiff.toFixed(1)} (kept in ${WORK})`);
  phase('screenshot download');

  // 4. A reload: the menu again, and the record kept in IndexedDB.
  await page.reload({ waitUntil: 'load' });
  await waitPicture('the main menu after a reload', refs.menu, 180);
  const kept = await readLevel();
  if (kept !== record) fail(`after a reload the record of level 1 is ${JSON.stringify(kept)}, expected ${JSON.stringify(record)}`);
  // One copy at a time: a second tab of the same browser says so and does not start.
  const second = await browser.newPage();
  watch(second);
  await second.goto(URL, { waitUntil: 'load' });
  await second.waitForFunction(() => /already running/.test(document.getElementById('message').innerText), { polling: 250, timeout: 60000 })
    .catch(() => fail('a second tab started the game beside the first'));
  if (await second.evaluate(() => Module.zarvelFrames)) fail('the second tab drew frames');
  await second.close();
  await page.bringToFront();
  phase('reload, main menu, the kept record and no second copy');

  // 5. The menu's Quit ends the game: the page thanks the player, and the
  // logs come as downloads from the bar's buttons.
  for (const k of ['ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Enter']) await key(k);
  await page.waitForFunction(() => !document.getElementById('thanks').hidden, { polling: 250, timeout: 60000 })
    .catch(() => fail('no thanks after the menu\'s Quit'));
  const thanks = await page.evaluate(() => document.getElementById('thanks').innerText);
  if (!/Thanks for playing/.test(thanks) || /code/.test(thanks)) fail(`after Quit the page says: ${thanks}`);
  // A drawing buffer of another shape is fitted anew (the game is over: its
  // canvas may be changed here).
  await page.evaluate(() => { const c = document.getElementById('canvas'); c.width = 300; c.height = 300; });
  await page.waitForFunction(() => { const r = document.getElementById('canvas').getBoundingClientRect(); return r.width === 600 && r.height === 600 && r.left === 100; },
    { polling: 100, timeout: 10000 }).catch(async () => fail(`a 300x300 canvas is shown as ${JSON.stringify(await rect())}, expected 600x600 at 100,0`));
  for (const [button, name] of [['#resultlog', 'QNResultLog.htm'], ['#leaklog', 'QNMemleaks.log']]) {
    await page.click(button);
    const text = (await download(name)).toString();
    if (name.endsWith('.htm') ? !/<\/html>/i.test(text) : !/No memory leaks found/.test(text)) fail(`${name} as downloaded: ${text.slice(0, 300)}`);
  }
  // The game that ended lets go of the player's files: a new tab starts.
  const again = await browser.newPage();
  watch(again);
  await again.goto(URL, { waitUntil: 'load' });
  await again.waitForFunction(() => Module.zarvelFrames > 0, { polling: 250, timeout: 120000 })
    .catch(() => fail('after Quit a new tab does not start the game'));
  await again.close();
  phase('quit, thanks, the logs and a new start');

  // 6. Without WebGL 2 the page says what is missing and loads nothing more.
  const bare = await browser.newPage();
  watch(bare);
  await bare.evaluateOnNewDocument(() => {
    const get = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
      return kind === 'webgl2' ? null : get.call(this, kind, ...rest);
    };
  });
  await bare.goto(URL, { waitUntil: 'domcontentloaded' });  // the page decides as it loads
  const seen = await bare.evaluate(() => ({
    text: document.getElementById('message').hidden ? '' : document.getElementById('message').innerText,
    scripts: [...document.scripts].map((s) => s.src).filter((s) => /zarvel\.js/.test(s)).length +
      performance.getEntriesByType('resource').filter((e) => /zarvel\.(js|wasm|data)/.test(e.name)).length,
  }));
  if (!/WebGL 2/.test(seen.text) || !/Firefox|Chromium/.test(seen.text) || seen.scripts) {
    fail(`without WebGL 2: message "${seen.text}", game files requested: ${seen.scripts}`);
  }
  // A game that cannot start (its code is missing) says so in the page.
  const broken = await browser.newPage();
  await broken.setRequestInterception(true);
  broken.on('request', (q) => (/zarvel\.wasm$/.test(q.url()) ? q.respond({ status: 404, body: '' }) : q.continue()));
  await broken.goto(URL, { waitUntil: 'load' });
  await broken.waitForFunction(() => /error/.test(document.getElementById('message').innerText), { polling: 250, timeout: 60000 })
    .catch(() => fail('without zarvel.wasm the page shows no error'));
  phase('the messages without WebGL 2 and without the game\'s code');
  await browser.close();

  // Warnings of the page's own (the game's standard error comes through it
  // too) fail the test; those of the browser and the engine's glue are listed.
  problems.push(...warnings.filter((w) => /(page\.js|index\.html|\/)\)$/.test(w)).map((w) => `warning: ${w}`));
  if (problems.length) fail(`the console or the network reported:\n  ${problems.join('\n  ')}`);
  console.log(`warnings in the console: ${warnings.length}${warnings.length ? '\n  ' + warnings.slice(0, 10).join('\n  ') : ''}`);
  console.log(`menu difference ${menuDiff.toFixed(1)}, level panel ${readyDiff.toFixed(1)}, F2 screenshot against the canvas ${shotDiff.toFixed(1)}, tolerance ${SAME}; wrong pictures: flipped ${wrong[0].toFixed(1)}, title covered ${wrong[1].toFixed(1)}`);
  console.log(`frame rate at the menu: ${fps.toFixed(1)} frames/s`);
  for (const [name, s] of times) console.log(`time: ${name}: ${s.toFixed(1)} s`);
})().catch((e) => { console.error(`FAIL: ${e.message}`); process.exit(1); });
