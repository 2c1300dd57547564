// The page's start: the bench's module and the bench's face are loaded together, the main
// window is made over the page's elements, and Reset runs before the student can press
// anything, as on the desktop when the window is first shown. Then the page is kept for use
// without the network.
import { Bench } from '../src/bench.js';
import { ErrorBox } from './error-box.js';
import { MainWindow } from './main-window.js';
import { keepForOffline } from './offline-cache.js';
import { LABEL_FONT_FAMILY, LABEL_FONT_SIZE } from './plot/plot-drawing.js';

const errors = new ErrorBox(document.getElementById('ErrorBox') as HTMLDialogElement);
const labelFont = `${LABEL_FONT_SIZE}px ${LABEL_FONT_FAMILY}`;

try {
    // The plot lays its axes out by the labels' widths, which need the face itself.
    const [bench] = await Promise.all([Bench.load(), document.fonts.load(labelFont)]);
    const measure = document.createElement('canvas').getContext('2d')!;
    measure.font = labelFont;
    new MainWindow(bench, errors, (text) => measure.measureText(text).width).start();
    keepForOffline();
} catch (error) {
    await errors.show(`The bench could not be started: ${error instanceof Error ? error.message : String(error)}`);
}
