#!/usr/bin/python3
"""Dumps an .xlsx workbook as JSON through openpyxl, an independent OOXML reader.

Usage: openpyxl_dump.py WORKBOOK.xlsx

The External* tests call this with /usr/bin/python3 (the interpreter that has
python3-openpyxl) and compare the JSON with what xlrd reads from the same workbook saved as
.xls: cells with their formulas, stored results and formats, merged areas, column widths,
row heights, the print area, page set-up, selection and sheet names; and the guards: the
sheet protection, the unlocked cells, conditional formats and data validations.
"""
import json
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def rgb(colour):
    if colour is None or colour.type != "rgb" or colour.rgb is None:
        return None
    value = colour.rgb[-6:]
    return [int(value[0:2], 16), int(value[2:4], 16), int(value[4:6], 16)]


def cell_info(cell, cached):
    font = cell.font
    fill = cell.fill
    border = cell.border
    solid = fill is not None and fill.fill_type == "solid"
    return {
        "value": cell.value,
        "cached": cached.value,
        "font": {"name": font.name, "size": font.sz, "bold": bool(font.b),
                 "italic": bool(font.i)},
        "fill_rgb": rgb(fill.fgColor) if solid else None,
        "format": cell.number_format,
        "horizontal": cell.alignment.horizontal,
        "vertical": cell.alignment.vertical,
        "wrap": bool(cell.alignment.wrap_text),
        "borders": [side.style if side is not None else None for side in
                    (border.left, border.right, border.top, border.bottom)],
        "locked": cell.protection.locked is not False,
    }


def main(path):
    book = openpyxl.load_workbook(path)
    values = openpyxl.load_workbook(path, data_only=True)
    out = {"sheets": [], "active": book.index(book.active)}
    for sheet in book.worksheets:
        cached = values[sheet.title]
        cells = {}
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None and not cell.has_style:
                    continue
                cells[cell.coordinate] = cell_info(cell, cached[cell.coordinate])
        setup = sheet.page_setup
        margins = sheet.page_margins
        widths = {}
        for key, dim in sheet.column_dimensions.items():
            if dim.width is None:
                continue
            for col in range(dim.min or 1, (dim.max or dim.min or 1) + 1):
                if col <= 256:
                    widths[get_column_letter(col)] = dim.width
        out["sheets"].append({
            "name": sheet.title,
            "cells": cells,
            "merged": sorted(str(m) for m in sheet.merged_cells.ranges),
            "col_widths": widths,
            "row_heights": {str(r): d.height for r, d in sheet.row_dimensions.items()
                            if d.height is not None},
            "default_row_height": sheet.sheet_format.defaultRowHeight,
            "print_area": sheet.print_area,
            "paper": int(setup.paperSize) if setup.paperSize is not None else None,
            "orientation": setup.orientation,
            "fit_to_page": bool(sheet.sheet_properties.pageSetUpPr.fitToPage)
            if sheet.sheet_properties.pageSetUpPr is not None else False,
            "fit_wide": int(setup.fitToWidth) if setup.fitToWidth is not None else None,
            "fit_tall": int(setup.fitToHeight) if setup.fitToHeight is not None else None,
            "margins": [margins.left, margins.right, margins.top, margins.bottom,
                        margins.header, margins.footer],
            "selection": sheet.sheet_view.selection[0].sqref
            if sheet.sheet_view.selection else None,
            "active_cell": sheet.sheet_view.selection[0].activeCell
            if sheet.sheet_view.selection else None,
            "protected": bool(sheet.protection.sheet),
            "password": sheet.protection.password,
            "select_locked": not sheet.protection.selectLockedCells,
            "unlocked": sorted(c for c, info in cells.items() if not info["locked"]),
            "conditional": [
                {"range": str(rng.sqref), "type": rule.type, "operator": rule.operator,
                 "formula": list(rule.formula),
                 "font_rgb": rgb(rule.dxf.font.color) if rule.dxf and rule.dxf.font else None,
                 "fill_rgb": rgb(rule.dxf.fill.bgColor) if rule.dxf and rule.dxf.fill else None}
                for rng in sheet.conditional_formatting for rule in rng.rules],
            "validations": [
                {"range": str(dv.sqref), "type": dv.type, "operator": dv.operator,
                 "formula1": dv.formula1, "formula2": dv.formula2, "error_style": dv.errorStyle,
                 "error_title": dv.errorTitle, "error": dv.error,
                 "prompt_title": dv.promptTitle, "prompt": dv.prompt,
                 "allow_blank": bool(dv.allow_blank), "dropdown_hidden": bool(dv.showDropDown)}
                for dv in sheet.data_validations.dataValidation],
        })
    json.dump(out, sys.stdout, default=str)


if __name__ == "__main__":
    main(sys.argv[1])
