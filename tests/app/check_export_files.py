#!/usr/bin/python3
# Reads an export's CSV with Python's csv module and validates its JSON
# against the documented schema; both must tell the same components.
# Usage: check_export_files.py FILE.csv FILE.json SCHEMA.json
import csv
import json
import sys

import jsonschema

csv_path, json_path, schema_path = sys.argv[1:4]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
with open(json_path, encoding="utf-8") as f:
    document = json.load(f)
jsonschema.validate(document, schema)

with open(csv_path, encoding="utf-8", newline="") as f:
    rows = list(csv.reader(f, strict=True))
header, rows = rows[0], rows[1:]
if header != ["node", "address", "category", "position", "name", "key", "details"]:
    sys.exit("unexpected header %r" % header)
expected = [[node["name"], node["address"], part["category"], str(part["position"]), part["name"], part["key"]]
            for node in document["nodes"] for part in node["components"]]
if [row[:6] for row in rows] != expected:
    sys.exit("the CSV rows are not the JSON's components")
print("%d nodes, %d components" % (len(document["nodes"]), len(rows)))
