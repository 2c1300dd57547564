// What benchmarks/web/figures.mjs times, the same code in node and in a browser: loading the
// layer to a usable bench, and each command through it (the run and the rows read back, as a
// page does after a click).
import { Bench, type CommandWord } from '../../web/src/bench.js';

const COMMANDS: CommandWord[] = ['reset', 'move', 'rotate+', 'rotate-', 'stepx', 'stepy', 'start', 'record', 'erase'];

/** Milliseconds from nothing to a bench after its start-up Reset. */
export async function loadTime(wasm?: Uint8Array): Promise<number> {
    const start = performance.now();
    const bench = await Bench.load(wasm ? { wasm } : {});
    bench.run('reset');
    const took = performance.now() - start;
    bench.close();
    return took;
}

/** Per command, the milliseconds of 300 runs, each followed by reading the rows. */
export async function commandTimes(wasm?: Uint8Array): Promise<Record<string, number[]>> {
    const bench = await Bench.load(wasm ? { wasm } : {});
    bench.run('reset');
    bench.setOption('writeProtocol', true);
    const times: Record<string, number[]> = {};
    for (const command of COMMANDS) {
        const list: number[] = (times[command] = []);
        for (let i = 0; i < 300; ++i) {
            const start = performance.now();
            bench.run(command);
            bench.rows();
            list.push(performance.now() - start);
        }
    }
    bench.close();
    return times;
}
