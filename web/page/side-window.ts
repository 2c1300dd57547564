// A side window ("Информация", "Описание установки"): a window inside the page above the
// bench, not modal, moved by its title bar and hidden by its close button. Shown the first
// time, it is centred over the bench's designed area (its left and top edges kept inside the
// page); afterwards it keeps the place it was moved or closed at, as far as the screen now
// allows. Showing it again brings it in front of the other side window. Where the page lays
// the bench out in one column, the window lies in the viewport instead (page.css fixes it
// there): centred in it when first shown, and kept wholly inside it however it is moved or the
// viewport changes.

/** The side windows' stacking order: each show puts a window above all others. */
let frontmost = 0;

export class SideWindow {
    readonly #frame: HTMLElement;
    readonly #over: HTMLElement;
    readonly #focusTarget: HTMLElement;
    #placed = false;
    /** What had the keyboard before the window took it, to give it back when it closes. */
    #returnFocus: HTMLElement | null = null;

    /**
     * `frame` is the window's element; `over` the main window's area it is first centred on;
     * `focusTarget` what takes the keyboard when it is shown.
     */
    constructor(frame: HTMLElement, over: HTMLElement, focusTarget: HTMLElement) {
        this.#frame = frame;
        this.#over = over;
        this.#focusTarget = focusTarget;
        frame.querySelector<HTMLElement>('.close-button')!.addEventListener('click', () => this.close());
        frame.addEventListener('pointerdown', () => this.#raise());
        this.#followDrags(frame.querySelector<HTMLElement>('.title-bar')!);
        window.addEventListener('resize', () => {
            if (this.visible)
                this.#moveTo(this.#frame.offsetLeft, this.#frame.offsetTop);
        });
    }

    get visible(): boolean {
        return !this.#frame.hidden;
    }

    /** Makes the window visible (placing it the first time only), brings it to the front and gives it the keyboard. */
    show(): void {
        const active = document.activeElement;
        if (active instanceof HTMLElement && !this.#frame.contains(active))
            this.#returnFocus = active;
        this.#frame.hidden = false;
        if (!this.#placed) {
            this.#placeOverMainWindow();
            this.#placed = true;
        } else {
            // The screen may have changed while the window was hidden (a tablet turned): its
            // place is kept within reach as a visible window's is.
            this.#moveTo(this.#frame.offsetLeft, this.#frame.offsetTop);
        }
        this.#raise();
        this.#focusTarget.focus({ preventScroll: true });
    }

    /** Hides the window; it keeps its place for the next show. */
    close(): void {
        const hadFocus = this.#frame.contains(document.activeElement);
        this.#frame.hidden = true;
        if (hadFocus)
            this.#returnFocus?.focus({ preventScroll: true });
    }

    #raise(): void {
        this.#frame.style.zIndex = String(++frontmost + 10);
    }

    /** Whether the window lies in the viewport (fixed there) rather than on the page. */
    get #inViewport(): boolean {
        return getComputedStyle(this.#frame).position === 'fixed';
    }

    /**
     * Centres the frame over the main window's area (or the viewport), halves truncated
     * towards zero; then its left and top edges are raised to the page's where they would lie
     * beyond them.
     */
    #placeOverMainWindow(): void {
        const viewport = this.#inViewport;
        const area = viewport ? new DOMRect(0, 0, innerWidth, innerHeight) : this.#over.getBoundingClientRect();
        const scroll = viewport ? { x: 0, y: 0 } : { x: window.scrollX, y: window.scrollY };
        const left = area.left + scroll.x + Math.trunc((area.width - this.#frame.offsetWidth) / 2);
        const top = area.top + scroll.y + Math.trunc((area.height - this.#frame.offsetHeight) / 2);
        this.#moveTo(left, top);
    }

    /**
     * Puts the frame's top-left corner at (`left`, `top`), kept within the page's width (so
     * that the page never scrolls sideways) and below its top edge, and inside the viewport
     * where it lies there.
     */
    #moveTo(left: number, top: number): void {
        const root = document.documentElement;
        const frame = this.#frame.getBoundingClientRect();
        left = Math.min(left, root.clientWidth - Math.ceil(frame.width));
        if (this.#inViewport)
            top = Math.min(top, root.clientHeight - Math.ceil(frame.height));
        this.#frame.style.left = `${Math.max(left, 0)}px`;
        this.#frame.style.top = `${Math.max(top, 0)}px`;
    }

    /** The title bar moves the window with the pointer; the title bar stays within reach at the top. */
    #followDrags(bar: HTMLElement): void {
        let from: { x: number; y: number; left: number; top: number } | null = null;
        bar.addEventListener('pointerdown', (event) => {
            if (event.button !== 0 || (event.target as Element).closest('.close-button'))
                return;
            event.preventDefault();
            bar.setPointerCapture(event.pointerId);
            from = { x: event.clientX, y: event.clientY, left: this.#frame.offsetLeft, top: this.#frame.offsetTop };
        });
        bar.addEventListener('pointermove', (event) => {
            if (from !== null)
                this.#moveTo(from.left + event.clientX - from.x, from.top + event.clientY - from.y);
        });
        const stop = () => (from = null);
        bar.addEventListener('pointerup', stop);
        bar.addEventListener('lostpointercapture', stop);
    }
}
