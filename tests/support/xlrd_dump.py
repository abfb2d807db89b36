#!/usr/bin/python3
"""Dumps an .xls workbook as JSON through xlrd, an independent BIFF8 reader.

Usage: xlrd_dump.py WORKBOOK.xls

The External* tests call this with /usr/bin/python3 (the interpreter that has python3-xlrd)
and compare the JSON with what the engine wrote: cells with their values and formats, fonts,
fills as RGB, borders, number formats, column widths, row heights, merged areas and the print
area.
"""
import json
import sys

import xlrd


def rgb(book, index):
    colour = book.colour_map.get(index)
    return list(colour) if colour is not None else None


def font_info(book, index):
    font = book.font_list[index]
    return {
        "name": font.name,
        "height": font.height,
        "bold": bool(font.bold),
        "weight": font.weight,
        "italic": bool(font.italic),
        "colour_index": font.colour_index,
    }


def xf_info(book, index):
    xf = book.xf_list[index]
    border = xf.border
    background = xf.background
    return {
        "font": font_info(book, xf.font_index),
        "format": book.format_map[xf.format_key].format_str,
        "hor_align": xf.alignment.hor_align,
        "vert_align": xf.alignment.vert_align,
        "wrap": xf.alignment.text_wrapped,
        "borders": [border.left_line_style, border.right_line_style,
                    border.top_line_style, border.bottom_line_style],
        "border_colours": [border.left_colour_index, border.right_colour_index,
                           border.top_colour_index, border.bottom_colour_index],
        "fill_pattern": background.fill_pattern,
        "fill_rgb": rgb(book, background.pattern_colour_index)
        if background.fill_pattern else None,
    }


def cell_value(cell):
    if cell.ctype == xlrd.XL_CELL_ERROR:
        return xlrd.error_text_from_code.get(cell.value, "?")
    return cell.value


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    out = {
        "nsheets": book.nsheets,
        "palette": [list(book.colour_map[i]) for i in range(8, 64)],
        "sheets": [],
        "print_areas": {},
    }
    for name in book.name_obj_list:
        if name.builtin and name.name == "Print_Area":
            _, rlo, rhi, clo, chi = name.area2d(clipped=False)
            out["print_areas"][str(name.scope)] = [rlo, rhi, clo, chi]
    for index in range(book.nsheets):
        sheet = book.sheet_by_index(index)
        cells = {}
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY and cell.xf_index is None:
                    continue
                cells[xlrd.cellname(r, c)] = {
                    "type": cell.ctype,
                    "value": cell_value(cell),
                    "xf": xf_info(book, cell.xf_index),
                }
        out["sheets"].append({
            "name": sheet.name,
            "nrows": sheet.nrows,
            "ncols": sheet.ncols,
            "cells": cells,
            "merged": [list(m) for m in sheet.merged_cells],
            "col_widths": {str(c): info.width for c, info in sheet.colinfo_map.items()},
            "col_xfs": {str(c): info.xf_index for c, info in sheet.colinfo_map.items()},
            "default_col_xf": xf_info(book, sheet.colinfo_map[100].xf_index)
            if 100 in sheet.colinfo_map else None,
            "row_heights": {str(r): info.height for r, info in sheet.rowinfo_map.items()},
            "row_custom": {str(r): bool(info.height_mismatch)
                           for r, info in sheet.rowinfo_map.items()},
        })
    json.dump(out, sys.stdout)


if __name__ == "__main__":
    main(sys.argv[1])
