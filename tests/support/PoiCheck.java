// Reads .xls files with Apache POI: the HSSF reader opens each file, its record dumper lists
// every record, and its formula evaluator recalculates every formula. Prints, per file, tab
// separated lines: the summary properties, the record count, the sheet names, then each
// formula cell with POI's text of the formula, the stored result and POI's own result; per
// sheet also its protection, every unlocked cell, the conditional formats (areas, operator,
// formulas, font and fill colour indices) and the validations (areas, type, operator,
// formulas, alert style, texts).
// Any error ends the run with a stack trace and a non-zero status.
import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.PrintStream;
import org.apache.poi.hpsf.DocumentSummaryInformation;
import org.apache.poi.hpsf.SummaryInformation;
import org.apache.poi.hssf.dev.BiffViewer;
import org.apache.poi.hssf.usermodel.DVConstraint;
import org.apache.poi.hssf.usermodel.HSSFWorkbook;
import org.apache.poi.poifs.filesystem.POIFSFileSystem;
import org.apache.poi.ss.usermodel.Cell;
import org.apache.poi.ss.usermodel.CellType;
import org.apache.poi.ss.usermodel.CellValue;
import org.apache.poi.ss.usermodel.ConditionalFormatting;
import org.apache.poi.ss.usermodel.ConditionalFormattingRule;
import org.apache.poi.ss.usermodel.DataValidation;
import org.apache.poi.ss.usermodel.DataValidationConstraint;
import org.apache.poi.ss.usermodel.SheetConditionalFormatting;
import org.apache.poi.ss.util.CellRangeAddress;
import org.apache.poi.ss.usermodel.FormulaError;
import org.apache.poi.ss.usermodel.FormulaEvaluator;
import org.apache.poi.ss.usermodel.Row;
import org.apache.poi.ss.usermodel.Sheet;

public class PoiCheck {
    static String stored(Cell cell) {
        switch (cell.getCachedFormulaResultType()) {
            case NUMERIC: return "n:" + cell.getNumericCellValue();
            case STRING: return "s:" + cell.getStringCellValue();
            case BOOLEAN: return "b:" + cell.getBooleanCellValue();
            case ERROR: return "e:" + FormulaError.forInt(cell.getErrorCellValue()).getString();
            default: return "?:";
        }
    }

    static String computed(CellValue v) {
        switch (v.getCellType()) {
            case NUMERIC: return "n:" + v.getNumberValue();
            case STRING: return "s:" + v.getStringValue();
            case BOOLEAN: return "b:" + v.getBooleanValue();
            case ERROR: return "e:" + FormulaError.forInt(v.getErrorValue()).getString();
            default: return "?:";
        }
    }

    // A validation's bound: POI keeps a number as a value, anything else as a formula.
    static String operand(DataValidationConstraint c, int which) {
        String formula = which == 1 ? c.getFormula1() : c.getFormula2();
        if (formula != null || !(c instanceof DVConstraint)) return formula;
        DVConstraint dv = (DVConstraint) c;
        return String.valueOf(which == 1 ? dv.getValue1() : dv.getValue2());
    }

    static String areas(CellRangeAddress[] list) {
        StringBuilder text = new StringBuilder();
        for (CellRangeAddress a : list) text.append(text.length() > 0 ? " " : "").append(a.formatAsString());
        return text.toString();
    }

    public static void main(String[] args) throws Exception {
        PrintStream out = new PrintStream(new FileOutputStream(FileDescriptor.out), true, "UTF-8");
        for (String path : args) {
            out.println("file\t" + path);

            // The record dumper prints to standard output; keep its listing aside.
            PrintStream console = System.out;
            ByteArrayOutputStream dump = new ByteArrayOutputStream();
            System.setOut(new PrintStream(dump, true, "UTF-8"));
            try {
                BiffViewer.main(new String[] {path});
            } finally {
                System.setOut(console);
            }
            int records = 0;
            for (String line : dump.toString("UTF-8").split("\n"))
                if (line.startsWith("Offset=")) ++records;
            out.println("records\t" + records);

            try (POIFSFileSystem fs = new POIFSFileSystem(new File(path), true);
                 HSSFWorkbook book = new HSSFWorkbook(fs)) {
                SummaryInformation si = book.getSummaryInformation();
                DocumentSummaryInformation dsi = book.getDocumentSummaryInformation();
                out.println("title\t" + si.getTitle());
                out.println("application\t" + si.getApplicationName());
                out.println("created\t" + si.getCreateDateTime().getTime() / 1000);
                out.println("saved\t" + si.getLastSaveDateTime().getTime() / 1000);
                out.println("codepage\t" + si.getFirstSection().getCodepage() + "\t"
                            + dsi.getFirstSection().getCodepage());
                FormulaEvaluator evaluator = book.getCreationHelper().createFormulaEvaluator();
                for (int s = 0; s < book.getNumberOfSheets(); ++s) {
                    Sheet sheet = book.getSheetAt(s);
                    out.println("sheet\t" + s + "\t" + sheet.getSheetName());
                    out.println("protected\t" + s + "\t" + sheet.getProtect());
                    SheetConditionalFormatting cfs = sheet.getSheetConditionalFormatting();
                    for (int i = 0; i < cfs.getNumConditionalFormattings(); ++i) {
                        ConditionalFormatting cf = cfs.getConditionalFormattingAt(i);
                        for (int k = 0; k < cf.getNumberOfRules(); ++k) {
                            ConditionalFormattingRule rule = cf.getRule(k);
                            out.println("cf\t" + s + "\t" + areas(cf.getFormattingRanges())
                                        + "\t" + rule.getConditionType().id + "\t"
                                        + rule.getComparisonOperation() + "\t"
                                        + rule.getFormula1() + "\t" + rule.getFormula2() + "\t"
                                        + (rule.getFontFormatting() == null ? -1
                                           : rule.getFontFormatting().getFontColorIndex())
                                        + "\t"
                                        + (rule.getPatternFormatting() == null ? -1
                                           : rule.getPatternFormatting().getFillBackgroundColor()));
                        }
                    }
                    for (DataValidation dv : sheet.getDataValidations()) {
                        DataValidationConstraint c = dv.getValidationConstraint();
                        out.println("dv\t" + s + "\t" + areas(dv.getRegions().getCellRangeAddresses())
                                    + "\t" + c.getValidationType() + "\t" + c.getOperator()
                                    + "\t" + operand(c, 1) + "\t" + operand(c, 2) + "\t"
                                    + dv.getErrorStyle() + "\t" + dv.getErrorBoxTitle() + "\t"
                                    + dv.getErrorBoxText() + "\t" + dv.getPromptBoxTitle() + "\t"
                                    + dv.getPromptBoxText() + "\t" + dv.getSuppressDropDownArrow());
                    }
                    for (Row row : sheet) {
                        for (Cell cell : row) {
                            if (!cell.getCellStyle().getLocked())
                                out.println("unlocked\t" + s + "\t" + cell.getRowIndex() + "\t"
                                            + cell.getColumnIndex());
                            if (cell.getCellType() != CellType.FORMULA) continue;
                            out.println("formula\t" + s + "\t" + cell.getRowIndex() + "\t"
                                        + cell.getColumnIndex() + "\t" + cell.getCellFormula()
                                        + "\t" + stored(cell) + "\t"
                                        + computed(evaluator.evaluate(cell)));
                        }
                    }
                }
            }
        }
    }
}
