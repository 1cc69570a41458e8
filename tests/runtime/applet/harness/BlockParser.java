package qmharness;

import java.util.LinkedHashMap;
import java.util.Locale;
import java.util.Map;

/**
 * Reads an applet element the way a browser's HTML parser does before it
 * hands the parameters to the applet runner: line ends normalised to LF,
 * comments skipped, attribute values unquoted with their character
 * references decoded, parameter names looked up without regard to case.
 */
public final class BlockParser {
    public final Map<String, String> appletAttributes = new LinkedHashMap<String, String>();
    /** Parameter names in lower case, as the applet runner keys them. */
    public final Map<String, String> params = new LinkedHashMap<String, String>();

    private final String s;
    private int pos;

    private BlockParser(String html) {
        s = html.replace("\r\n", "\n").replace('\r', '\n');
    }

    public static BlockParser parse(String html) {
        BlockParser p = new BlockParser(html);
        p.run();
        return p;
    }

    public int width() {
        return Integer.parseInt(appletAttributes.get("width").trim());
    }

    public int height() {
        return Integer.parseInt(appletAttributes.get("height").trim());
    }

    public String param(String name) {
        return params.get(name.toLowerCase(Locale.ROOT));
    }

    private void run() {
        boolean inApplet = false;
        while (pos < s.length()) {
            int lt = s.indexOf('<', pos);
            if (lt < 0)
                break;
            pos = lt;
            if (s.startsWith("<!--", pos)) {
                int end = s.indexOf("-->", pos + 4);
                pos = end < 0 ? s.length() : end + 3;
                continue;
            }
            String name = tagName(pos + 1);
            if (name.equals("applet") && !inApplet) {
                pos += 1 + name.length();
                readAttributes(appletAttributes);
                inApplet = true;
            } else if (name.equals("/applet")) {
                break;
            } else if (name.equals("param") && inApplet) {
                pos += 1 + name.length();
                Map<String, String> a = new LinkedHashMap<String, String>();
                readAttributes(a);
                String n = a.get("name");
                // The first parameter of a name wins, as in the runner.
                if (n != null && !params.containsKey(n.toLowerCase(Locale.ROOT)))
                    params.put(n.toLowerCase(Locale.ROOT), a.containsKey("value") ? a.get("value") : "");
            } else {
                pos += 1;
            }
        }
        if (!inApplet)
            throw new IllegalArgumentException("no applet element in the block");
    }

    private String tagName(int at) {
        int i = at;
        if (i < s.length() && s.charAt(i) == '/')
            ++i;
        while (i < s.length() && Character.isLetterOrDigit(s.charAt(i)))
            ++i;
        return s.substring(at, i).toLowerCase(Locale.ROOT);
    }

    private void readAttributes(Map<String, String> out) {
        while (pos < s.length()) {
            skipSpace();
            if (pos >= s.length())
                return;
            char c = s.charAt(pos);
            if (c == '>') {
                ++pos;
                return;
            }
            if (c == '/') {
                ++pos;
                continue;
            }
            int start = pos;
            while (pos < s.length() && "\t\n\f >/=".indexOf(s.charAt(pos)) < 0)
                ++pos;
            String name = s.substring(start, pos).toLowerCase(Locale.ROOT);
            skipSpace();
            String value = "";
            if (pos < s.length() && s.charAt(pos) == '=') {
                ++pos;
                skipSpace();
                value = readValue();
            }
            if (!out.containsKey(name))
                out.put(name, decode(value));
        }
    }

    private String readValue() {
        if (pos >= s.length())
            return "";
        char q = s.charAt(pos);
        if (q == '"' || q == '\'') {
            int end = s.indexOf(q, pos + 1);
            if (end < 0)
                end = s.length();
            String v = s.substring(pos + 1, end);
            pos = Math.min(s.length(), end + 1);
            return v;
        }
        int start = pos;
        while (pos < s.length() && "\t\n\f >".indexOf(s.charAt(pos)) < 0)
            ++pos;
        return s.substring(start, pos);
    }

    private void skipSpace() {
        while (pos < s.length() && "\t\n\f ".indexOf(s.charAt(pos)) >= 0)
            ++pos;
    }

    /** Character references of the kinds a block can hold. */
    static String decode(String v) {
        if (v.indexOf('&') < 0)
            return v;
        StringBuilder b = new StringBuilder();
        int i = 0;
        while (i < v.length()) {
            char c = v.charAt(i);
            int semi = c == '&' ? v.indexOf(';', i) : -1;
            if (semi > i + 1 && semi - i <= 10) {
                String ref = v.substring(i + 1, semi);
                String r = null;
                if (ref.equals("quot")) r = "\"";
                else if (ref.equals("amp")) r = "&";
                else if (ref.equals("lt")) r = "<";
                else if (ref.equals("gt")) r = ">";
                else if (ref.equals("apos")) r = "'";
                else if (ref.equals("nbsp")) r = "\u00a0";
                else if (ref.startsWith("#x") || ref.startsWith("#X"))
                    r = codePoint(ref.substring(2), 16);
                else if (ref.startsWith("#"))
                    r = codePoint(ref.substring(1), 10);
                if (r != null) {
                    b.append(r);
                    i = semi + 1;
                    continue;
                }
            }
            b.append(c);
            ++i;
        }
        return b.toString();
    }

    private static String codePoint(String digits, int radix) {
        try {
            return new String(Character.toChars(Integer.parseInt(digits, radix)));
        } catch (RuntimeException e) {
            return null;
        }
    }
}
