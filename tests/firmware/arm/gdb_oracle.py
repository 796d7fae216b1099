# Run inside gdb-multiarch: where gdb itself puts each expression of ONDRIX_ORACLE_IN, one
# answer line in ONDRIX_ORACLE_OUT for each line in. A line is "value<TAB>EXPRESSION" (an
# lvalue gdb parses with the firmware's debug information) or "symbol<TAB>'NAME'" (a symbol-table
# name, whose size gdb cannot know). An expression gdb cannot take gets "error<TAB>why" so that
# the other lines still get their answers.
import os
import re

import gdb


def kind(value_type):
    t = value_type.strip_typedefs()
    code = t.code
    if code == gdb.TYPE_CODE_ENUM:
        return "enum"
    if code in (gdb.TYPE_CODE_INT, gdb.TYPE_CODE_CHAR, gdb.TYPE_CODE_BOOL):
        return "signed" if t.is_signed else "unsigned"
    return {
        gdb.TYPE_CODE_FLT: "float",
        gdb.TYPE_CODE_PTR: "pointer",
        gdb.TYPE_CODE_STRUCT: "struct",
        gdb.TYPE_CODE_UNION: "union",
        gdb.TYPE_CODE_ARRAY: "array",
    }.get(code, "?")


_code = None
_inlined = {}


def code_range():
    global _code
    if _code is None:
        _code = (0, 0)
        for line in gdb.execute("info files", to_string=True).splitlines():
            found = re.search(r"(0x[0-9a-f]+) - (0x[0-9a-f]+) is \.text$", line.strip())
            if found:
                _code = (int(found.group(1), 16), int(found.group(2), 16))
    return _code


def inlined_blocks(function):
    """The blocks of every copy of `function` inlined into other code, once it has none of its own."""
    if function not in _inlined:
        blocks = {}
        start, end = code_range()
        for pc in range(start, end, 2):
            block = gdb.block_for_pc(pc)
            while block is not None and not block.is_global and not block.is_static:
                if block.function is not None and block.function.name == function:
                    blocks.setdefault(block.start, block)
                block = block.superblock
        _inlined[function] = list(blocks.values())
    return _inlined[function]


_statics = None


def static_storage(name):
    """The address of the one symbol-table entry the compiler made for a function's static
    `name` (counter, or counter.2 where several functions have one), or None."""
    global _statics
    if _statics is None:
        _statics = {}
        for line in gdb.execute("maint print msymbols", to_string=True).splitlines():
            found = re.match(r"\[\s*\d+\] [bBdD] (0x[0-9a-f]+) (\S+)", line.strip())
            if found:
                _statics.setdefault(found.group(2), int(found.group(1), 16))
    pattern = re.compile(re.escape(name) + r"(\.\d+)?(\.lto_priv\.\d+)?$")
    found = [address for symbol, address in _statics.items() if pattern.match(symbol)]
    return found[0] if len(found) == 1 else None


def function_static(text):
    """gdb takes tick::counter only while tick has code of its own. Where link-time optimisation
    inlined every call, the inlined copies still declare the static, though with no location:
    its type comes from there and its address from the symbol table."""
    found = re.match(r"([A-Za-z_]\w*)::([A-Za-z_]\w*)(.*)$", text)
    if not found:
        return None
    function, name, rest = found.groups()
    for block in inlined_blocks(function):
        symbol = gdb.lookup_symbol(name, block)[0]
        if symbol is None:
            continue
        if symbol.addr_class == gdb.SYMBOL_LOC_STATIC:
            where = symbol.value().address
        elif symbol.addr_class == gdb.SYMBOL_LOC_OPTIMIZED_OUT and static_storage(name) is not None:
            where = gdb.Value(static_storage(name)).cast(symbol.type.pointer())
        else:
            continue
        gdb.set_convenience_variable("oracle_static", where)
        return gdb.parse_and_eval("(*$oracle_static)" + rest)
    return None


def answer(mode, text):
    if mode == "symbol":
        address = gdb.parse_and_eval("&" + text)
        return "ok\t%x\t-\t-" % int(address)
    try:
        value = gdb.parse_and_eval(text)
    except gdb.error:
        value = function_static(text)
        if value is None:
            raise
    if value.address is None:
        raise gdb.GdbError("not in memory")
    return "ok\t%x\t%d\t%s" % (int(value.address), value.type.sizeof, kind(value.type))


with open(os.environ["ONDRIX_ORACLE_IN"]) as requests, open(os.environ["ONDRIX_ORACLE_OUT"], "w") as out:
    for line in requests:
        mode, _, text = line.rstrip("\n").partition("\t")
        try:
            out.write(answer(mode, text) + "\n")
        except Exception as error:  # gdb.error and friends: that line's answer, not the end
            out.write("error\t%s\n" % str(error).replace("\n", " ").replace("\t", " "))
