// The raw module that emscripten writes from web/module/Bindings.cpp, declared by hand
// (emscripten 3.1.6 writes no declarations). Only the TypeScript layer (bench.ts) uses it;
// tests/web/surface.test.mjs checks that the loaded module has exactly these members.
declare module 'velmora-module' {
    /**
     * The bench as embind hands it out: a C++ object that must be freed with delete().
     * Views (Uint16Array, Float64Array) look into the module's memory and are valid until
     * the next call into the module.
     */
    export interface RawBench {
        run(index: number): boolean;
        stageText(length: number): Uint16Array | null;
        typeStaged(row: number): boolean;
        setOption(index: number, on: boolean): boolean;
        option(index: number): boolean;
        optionsRevision(): number;
        setDecimalSeparator(codeUnit: number): boolean;
        decimalSeparator(): number;
        errorText(): Uint16Array;
        rowValue(row: number): Uint16Array;
        rowRevision(row: number): number;
        tableRevision(): number;
        protocolLineCount(): number;
        protocolLine(index: number): Uint16Array;
        protocolClearCount(): number;
        layerPoints(layer: number): Float64Array;
        layerRevision(layer: number): number;
        sceneResetCount(): number;
        delete(): void;
    }

    /**
     * The bindings: the bench's class and the fixed tables of commands, rows, options and
     * layers, each in the bench's own order.
     */
    export interface Bindings {
        Bench: new () => RawBench;
        commandCount(): number;
        commandWord(index: number): Uint8Array;
        commandCaption(index: number): Uint16Array;
        rowCount(): number;
        rowKey(index: number): Uint16Array;
        optionCount(): number;
        layerCount(): number;
        layerName(index: number): Uint8Array;
    }

    /** What emscripten's runtime puts on the module object beside the bindings. */
    export interface Runtime {
        wasmBinary?: ArrayBuffer | Uint8Array;
        ready: Promise<VelmoraModule>;
        inspect(): string;
        preloadedImages: object;
        preloadedAudios: object;
        BindingError: ErrorConstructor;
        InternalError: ErrorConstructor;
        UnboundTypeError: ErrorConstructor;
        getInheritedInstanceCount(): number;
        getLiveInheritedInstances(): unknown[];
        flushPendingDeletes(): void;
        setDelayFunction(delay: (flush: () => void) => void): void;
        count_emval_handles(): number;
        get_first_emval(): unknown;
        ___wasm_call_ctors(): void;
        ___getTypeName(type: number): number;
        ___embind_register_native_and_builtin_types(): void;
        _malloc(size: number): number;
        _free(pointer: number): void;
        run(): void;
        asm: Record<string, unknown>;
        HEAP8: Int8Array;
        HEAP16: Int16Array;
        HEAP32: Int32Array;
        HEAPU8: Uint8Array;
        HEAPU16: Uint16Array;
        HEAPU32: Uint32Array;
        HEAPF32: Float32Array;
        HEAPF64: Float64Array;
        calledRun: boolean;
    }

    export type VelmoraModule = Bindings & Runtime;

    /**
     * What a caller may hand the module when it loads: the .wasm's bytes (node reads them
     * itself), or where to find the .wasm, and where the module's own messages go.
     */
    export interface ModuleOptions {
        wasmBinary?: ArrayBuffer | Uint8Array;
        locateFile?: (path: string, prefix: string) => string;
        instantiateWasm?: (
            imports: WebAssembly.Imports, receive: (instance: WebAssembly.Instance) => void) => object;
        print?: (text: string) => void;
        printErr?: (text: string) => void;
    }

    export default function createVelmoraModule(options?: ModuleOptions): Promise<VelmoraModule>;
}
