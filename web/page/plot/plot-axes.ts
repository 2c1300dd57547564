// The tick marks and labels of the plot's two axes, chosen as the desktop's plot chooses
// them: about five readable steps over the shown range, each step 1, 2, 2.5 or 5 times a
// power of ten, with smaller unlabelled ticks between, and labels in the bench's decimal
// separator.

/** A shown range of the plane along one axis, in centimetres. */
export interface AxisRange {
    readonly min: number;
    readonly max: number;
}

/** The ranges the plot shows after Reset: x from −21 to 29, y from −25 to 25 (cm). */
export const FIXED_X_RANGE: AxisRange = Object.freeze({ min: -21, max: 29 });
export const FIXED_Y_RANGE: AxisRange = Object.freeze({ min: -25, max: 25 });

export interface AxisTicks {
    /** The labelled ticks inside the range, in cm, ascending. */
    readonly major: readonly number[];
    /** The unlabelled ticks between (and beyond) them inside the range, in cm. */
    readonly minor: readonly number[];
    /** The label of each major tick. */
    readonly labels: readonly string[];
}

/** The number of steps the ticks aim at over a range. */
const TICK_COUNT = 5;
/** The readable step mantissas, one of which is taken as the step's leading digits. */
const STEP_MANTISSAS = [1, 2, 2.5, 5, 10];
/** Significant digits of a tick label. */
const LABEL_DIGITS = 6;

/** `value` as mantissa in [1, 10) times a power of ten. */
function split(value: number): { mantissa: number; magnitude: number } {
    const magnitude = 10 ** Math.floor(Math.log10(value));
    return { mantissa: value / magnitude, magnitude };
}

/** The readable step nearest to a fifth of the range's span. */
function tickStep(range: AxisRange): number {
    const exact = (range.max - range.min) / (TICK_COUNT + 1e-10);
    const { mantissa, magnitude } = split(exact);
    let best = STEP_MANTISSAS[0]!;
    for (const candidate of STEP_MANTISSAS) {
        if (Math.abs(candidate - mantissa) < Math.abs(best - mantissa))
            best = candidate;
    }
    return best * magnitude;
}

/** How many minor ticks divide one step: a step of 2 into four parts, the others into five. */
function minorCount(step: number): number {
    return Math.round(split(step).mantissa * 10) === 20 ? 3 : 4;
}

/**
 * A tick's label: the shortest of fixed and exponent notation at six significant digits, as
 * C's "%g" writes it ("20", "-12.5", "1e-05"), with `separator` for the decimal point.
 */
export function tickLabel(value: number, separator: string): string {
    let text: string;
    if (value === 0) {
        text = '0';
    } else {
        const exponent = Math.floor(Math.log10(Math.abs(Number(value.toPrecision(LABEL_DIGITS)))));
        if (exponent < -4 || exponent >= LABEL_DIGITS) {
            const [mantissa, power] = value.toExponential(LABEL_DIGITS - 1).split('e') as [string, string];
            const trimmed = mantissa.includes('.') ? mantissa.replace(/\.?0+$/, '') : mantissa;
            const p = Number(power);
            text = `${trimmed}e${p < 0 ? '-' : '+'}${String(Math.abs(p)).padStart(2, '0')}`;
        } else {
            text = value.toFixed(Math.max(0, LABEL_DIGITS - 1 - exponent));
            if (text.includes('.'))
                text = text.replace(/\.?0+$/, '');
        }
    }
    return text.replace('.', separator);
}

/** The ticks and labels of an axis over `range`. */
export function axisTicks(range: AxisRange, separator: string): AxisTicks {
    const step = tickStep(range);
    const first = Math.floor(range.min / step);
    const last = Math.ceil(range.max / step);
    // One step beyond each end, so that the minor ticks reach the ends of the range.
    const all: number[] = [];
    for (let i = first - 1; i <= last + 1; ++i)
        all.push(i * step);
    const inside = (value: number) => value >= range.min && value <= range.max;
    const count = minorCount(step);
    const minor: number[] = [];
    for (let i = 0; i + 1 < all.length; ++i) {
        const from = all[i]!;
        const by = (all[i + 1]! - from) / (count + 1);
        for (let k = 1; k <= count; ++k) {
            const value = from + k * by;
            if (inside(value))
                minor.push(value);
        }
    }
    const major = all.filter(inside);
    return { major, minor, labels: major.map((value) => tickLabel(value, separator)) };
}
