#!/usr/bin/env python3
"""Every configuration document corvane-cli writes validates against the committed schema, with
an independent validator (Debian's python3-jsonschema): `show --json` of the demo data, the
fixture folders and an empty folder, and the documents of the random folders of unit_storage's
round-trip property. A few documents the schema must refuse keep it from passing everything.

usage: validate_documents.py CORVANE_CLI UNIT_STORAGE SOURCE_DIR
"""
import copy
import json
import os
import subprocess
import sys
import tempfile

import jsonschema


def main():
    cli, unit_storage, source = sys.argv[1:4]
    with open(os.path.join(source, "storage", "corvane-configuration.schema.json")) as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)

    documents = {}
    with tempfile.TemporaryDirectory(prefix="corvane-schema-") as scratch:
        empty = os.path.join(scratch, "empty")
        os.mkdir(empty)
        folders = [os.path.join(source, "data"),
                   os.path.join(source, "tests", "fixtures", "cli", "worked-example"), empty]
        for folder in folders:
            out = subprocess.run([cli, "show", "--json", "--dir", folder], check=True,
                                 capture_output=True, text=True).stdout
            documents["show --json " + folder] = json.loads(out)
        written = os.path.join(scratch, "documents")
        os.mkdir(written)
        subprocess.run([unit_storage, "--gtest_filter=ConfigurationRoundTripTest.*"], check=True,
                       capture_output=True, env=dict(os.environ, CORVANE_DOCUMENTS_DIR=written))
        for name in sorted(os.listdir(written)):
            with open(os.path.join(written, name), encoding="utf-8") as f:
                documents[name] = json.load(f)
    if len(documents) < 50:
        sys.exit(f"only {len(documents)} documents to validate")

    failures = 0
    for name, document in documents.items():
        for error in validator.iter_errors(document):
            failures += 1
            print(f"{name}: {error.json_path}: {error.message}")

    # The schema refuses what restore refuses.
    demo = documents["show --json " + folders[0]]
    refused = [("buttons 9", lambda d: d["device"].__setitem__("buttons", 9)),
               ("unknown key", lambda d: d["pointer"].__setitem__("colour", 1)),
               ("function name", lambda d: d["buttons"][1]["function"].__setitem__("name", "x")),
               ("stage 500 DPI", lambda d: d["pointer"]["dpiX"].__setitem__(0, 500)),
               ("vendorId digits", lambda d: d["device"].__setitem__("vendorId", "3A7C0"))]
    for what, edit in refused:
        document = copy.deepcopy(demo)
        edit(document)
        if validator.is_valid(document):
            failures += 1
            print(f"the schema accepts a document with {what}")
    print(f"{len(documents)} documents validated, {failures} problems")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
