// The page's half of tools/page-screenshots: opens the built page (build/web) in headless
// Chromium at 1366 × 768, makes the recorded walk of 18 steps around the wire section at
// (13, 0) by real clicks and typing, and takes a screenshot of the viewport.
//   node tools/page-walk.mjs BUILD_DIR OUT.png
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [build, out] = process.argv.slice(2);
const web = join(dirname(fileURLToPath(import.meta.url)), '..', 'web');
const { chromium } = createRequire(join(web, 'package.json'))('playwright-core');
const { staticServer } = await import(join(web, 'page', 'serve.mjs'));

const server = staticServer(join(build, 'web'));
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
        '--disable-sync', '--no-first-run', '--disable-dev-shm-usage'],
});
try {
    const page = await browser.newPage({ viewport: { width: 1366, height: 768 }, locale: 'en-US' });
    await page.goto(`http://localhost:${server.address().port}/`);
    await page.waitForSelector('#TForm1:not([aria-busy])');
    for (const [key, value] of [['Угол поврота (град)', '20'], ['Шаг (см)', '3'],
        ['Начальная координата x (см)', '12'], ['Начальная координата y (см)', '-8']]) {
        await page.getByRole('textbox', { name: key, exact: true }).click();
        await page.keyboard.press('Control+A');
        await page.keyboard.type(value);
    }
    const button = (name) => page.getByRole('button', { name, exact: true });
    const box = (name) => page.getByRole('checkbox', { name, exact: true });
    await button('В начало').click();
    await box('Фиксировать угол').click();
    await box('Рассчитывать циркуляцию').click();
    await box('Записывать протокол').click();
    for (let i = 0; i < 18; ++i)
        await button('Сдвиг').click();
    await page.screenshot({ path: out });
} finally {
    await browser.close();
    server.close();
}
