// The module's surface is exactly what web/src/module.d.ts declares, and its tables are the
// names web/src/names.ts gives the layer.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { test } from 'node:test';

const source = process.env.VELMORA_WEB_SOURCE;
const built = process.env.VELMORA_WEB_CLI;
const ts = createRequire(join(source, 'package.json'))('typescript');

/** The member names of each interface declared in module.d.ts. */
function declaredMembers() {
    const file = join(source, 'src/module.d.ts');
    const tree = ts.createSourceFile(file, readFileSync(file, 'utf8'), ts.ScriptTarget.Latest, true);
    const members = {};
    const visit = (node) => {
        if (ts.isInterfaceDeclaration(node))
            members[node.name.text] = node.members.map((member) => member.name.getText(tree)).sort();
        ts.forEachChild(node, visit);
    };
    visit(tree);
    return members;
}

async function loadRawModule() {
    // emscripten's node branch expects CommonJS's require and __dirname.
    globalThis.require = createRequire(import.meta.url);
    globalThis.__dirname = built;
    const { default: create } = await import(join(process.env.VELMORA_WEB_MODULE, 'velmora-module.mjs'));
    return create({ wasmBinary: readFileSync(join(built, 'velmora-module.wasm')) });
}

test('the module has every declared member and nothing else', async () => {
    const declared = declaredMembers();
    const module = await loadRawModule();
    assert.deepEqual(Object.keys(module).sort(), [...declared.Bindings, ...declared.Runtime].sort());
    for (const name of declared.Bindings)
        assert.equal(typeof module[name], 'function', name);

    const raw = new module.Bench();
    try {
        const own = Object.getOwnPropertyNames(Object.getPrototypeOf(raw)).filter((name) => name !== 'constructor');
        // delete() is embind's own, on the prototype every bound class shares.
        assert.deepEqual([...own, 'delete'].sort(), declared.RawBench);
        for (const name of declared.RawBench)
            assert.equal(typeof raw[name], 'function', name);
    } finally {
        raw.delete();
    }
});

test("the layer's names are the module's tables", async () => {
    const layer = await import(join(built, 'bench.mjs'));
    const bench = await layer.Bench.load();
    assert.deepEqual(bench.moduleNames(), {
        commands: [...layer.COMMAND_WORDS],
        rows: [...layer.ROW_KEYS],
        options: layer.OPTION_NAMES.length,
        layers: [...layer.LAYER_NAMES],
    });
    assert.deepEqual(bench.commands.map((command) => command.caption), [
        'Начать/Сброс', 'Сдвиг', 'Поворот +', 'Поворот -', 'Шаг по X', 'Шаг по Y', 'В начало', 'Записать', 'Стереть',
    ]);
});
