// The plot from the keyboard, the page's own addition for those who work without a pointer:
// while the plot has the keyboard, the arrow keys move the plane by a tenth of the shown span
// (→ shows what lies further right, ↑ what lies higher), + (or the = key it shares on most
// keyboards) shows the middle of the spans magnified 1.25 times, − shows 1.25 times more, and
// 0 restores the ranges from before the first zoom, pan or wheel turn since the last restore,
// as a left drag to the left does.
import type { PlotNavigation } from './plot-navigation.js';

/** The share of the shown span an arrow key moves the plane by. */
export const ARROW_SHARE = 0.1;
/** How much + magnifies and − shrinks the shown spans. */
export const ZOOM_FACTOR = 1.25;

/** What each key does to the shown ranges. */
const KEYS: Readonly<Record<string, (navigation: PlotNavigation) => void>> = {
    ArrowLeft: (n) => n.show(n.moved(-ARROW_SHARE, 0)),
    ArrowRight: (n) => n.show(n.moved(ARROW_SHARE, 0)),
    ArrowUp: (n) => n.show(n.moved(0, ARROW_SHARE)),
    ArrowDown: (n) => n.show(n.moved(0, -ARROW_SHARE)),
    '+': (n) => n.show(n.scaled(1 / ZOOM_FACTOR)),
    '=': (n) => n.show(n.scaled(1 / ZOOM_FACTOR)),
    '-': (n) => n.show(n.scaled(ZOOM_FACTOR)),
    '0': (n) => n.restore(),
};

/** Lets the keys above change what `navigation` shows while its plot's picture has the keyboard. */
export function followPlotKeys(navigation: PlotNavigation): void {
    navigation.view.picture.addEventListener('keydown', (event) => {
        const action = KEYS[event.key];
        // With Ctrl, Alt or Meta the key is the browser's (Ctrl and + zooms the page).
        if (action === undefined || event.ctrlKey || event.altKey || event.metaKey)
            return;
        event.preventDefault();
        action(navigation);
    });
}
