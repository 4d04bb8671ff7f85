#!/usr/bin/env python3
"""Reads a JSON list of SVG strings on standard input and writes, for each, its element tree as
parsed by Python's XML parser ({"tag", "attrib", "text", "children"}, tags without their
namespace) or {"error": message} when it is not well-formed XML."""
import json
import sys
import xml.etree.ElementTree as ET


def tree(element):
    return {
        "tag": element.tag.split("}")[-1],
        "attrib": dict(element.attrib),
        "text": element.text or "",
        "children": [tree(child) for child in element],
    }


result = []
for svg in json.load(sys.stdin):
    try:
        result.append(tree(ET.fromstring(svg)))
    except ET.ParseError as error:
        result.append({"error": str(error)})
json.dump(result, sys.stdout)
