// Prints every user table of a .mdb file, read with mdb-reader, as JSON on stdout.
// Usage: node dump.mjs FILE [--password PASSWORD]
//
// Cells are canonical strings so that the C++ tests can compare them exactly:
// "NULL", "true"/"false", integers in decimal, Currency as the scaled integer (value * 10000),
// Single "f:<hex bits>", Double "d:<hex bits>", DateTime "t:<ms since 1970>", text "s:<text>",
// Decimal "n:<shortest exact decimal>", GUID "g:{<upper-case hex>}", OLE "b:<hex of the bytes>".
//
// mdb-reader 3.x opens Jet 4 files whatever password it is given (it does not verify
// passwords for that format), so the password check is done here: the password that
// mdb-reader decodes from the header must equal the one given (none = empty). A mismatch
// exits with code 2 and "Wrong password" on stderr.
import MDBReader from "mdb-reader";
import { readFileSync } from "node:fs";

const args = process.argv.slice(2);
const file = args[0];
const pwIndex = args.indexOf("--password");
const password = pwIndex >= 0 ? args[pwIndex + 1] : "";

const reader = new MDBReader(readFileSync(file), { password });
const stored = reader.getPassword() ?? "";
if (stored !== password) {
    process.stderr.write("Wrong password\n");
    process.exit(2);
}

function hex(buffer) {
    return Buffer.from(buffer).reverse().toString("hex");
}

// "-012.50" -> "-12.5", "-0.00" -> "0".
function decimal(text) {
    let sign = "";
    let digits = text;
    if (digits.startsWith("-")) {
        sign = "-";
        digits = digits.slice(1);
    }
    if (digits.includes(".")) digits = digits.replace(/0+$/, "").replace(/\.$/, "");
    digits = digits.replace(/^0+(?=[0-9])/, "");
    if (digits === "" ) digits = "0";
    if (digits === "0") sign = "";
    return sign + digits;
}

function cell(value, type) {
    if (value === null || value === undefined) return "NULL";
    switch (type) {
        case "boolean":
            return value ? "true" : "false";
        case "byte":
        case "integer":
        case "long":
            return String(value);
        case "currency":
            return BigInt(value.replace(".", "")).toString();
        case "float": {
            const b = Buffer.alloc(4);
            b.writeFloatLE(value);
            return "f:" + hex(b);
        }
        case "double": {
            const b = Buffer.alloc(8);
            b.writeDoubleLE(value);
            return "d:" + hex(b);
        }
        case "datetime":
            return "t:" + value.getTime();
        case "text":
        case "memo":
            return "s:" + value;
        case "numeric":
            return "n:" + decimal(value);
        case "repid":
            return "g:{" + value.toUpperCase() + "}";
        case "ole":
        case "binary":
            return "b:" + Buffer.from(value).toString("hex");
        default:
            return "?" + type + ":" + String(value);
    }
}

const tables = {};
for (const name of reader.getTableNames()) {
    const table = reader.getTable(name);
    const columns = table.getColumns();
    const rows = table.getData().map((row) => columns.map((c) => cell(row[c.name], c.type)));
    tables[name] = {
        rowCount: table.rowCount,
        columns: columns.map((c) => ({ name: c.name, type: c.type, size: c.size })),
        rows,
    };
}
process.stdout.write(JSON.stringify({ password: stored, tables }));
