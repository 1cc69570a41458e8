package qmharness;

import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/** Just enough JSON to read the output of the program's --compile --json. */
public final class Json {
    private final String s;
    private int pos;

    private Json(String s) {
        this.s = s;
    }

    /** Objects become maps, arrays lists, numbers Long or Double. */
    public static Object parse(String text) {
        Json j = new Json(text);
        Object v = j.value();
        j.space();
        if (j.pos != j.s.length())
            throw j.error("trailing text");
        return v;
    }

    private Object value() {
        space();
        if (pos >= s.length())
            throw error("unexpected end");
        char c = s.charAt(pos);
        if (c == '{') {
            Map<String, Object> m = new LinkedHashMap<String, Object>();
            ++pos;
            space();
            if (peek('}'))
                return m;
            do {
                space();
                String k = string();
                space();
                expect(':');
                m.put(k, value());
                space();
            } while (peek(','));
            expect('}');
            return m;
        }
        if (c == '[') {
            List<Object> l = new ArrayList<Object>();
            ++pos;
            space();
            if (peek(']'))
                return l;
            do {
                l.add(value());
                space();
            } while (peek(','));
            expect(']');
            return l;
        }
        if (c == '"')
            return string();
        if (s.startsWith("true", pos)) {
            pos += 4;
            return Boolean.TRUE;
        }
        if (s.startsWith("false", pos)) {
            pos += 5;
            return Boolean.FALSE;
        }
        if (s.startsWith("null", pos)) {
            pos += 4;
            return null;
        }
        int start = pos;
        while (pos < s.length() && "+-0123456789.eE".indexOf(s.charAt(pos)) >= 0)
            ++pos;
        String num = s.substring(start, pos);
        if (num.isEmpty())
            throw error("unexpected character");
        if (num.contains(".") || num.contains("e") || num.contains("E"))
            return Double.valueOf(num);
        return Long.valueOf(num);
    }

    private String string() {
        expect('"');
        StringBuilder b = new StringBuilder();
        while (pos < s.length()) {
            char c = s.charAt(pos++);
            if (c == '"')
                return b.toString();
            if (c != '\\') {
                b.append(c);
                continue;
            }
            char e = s.charAt(pos++);
            switch (e) {
            case 'n': b.append('\n'); break;
            case 'r': b.append('\r'); break;
            case 't': b.append('\t'); break;
            case 'b': b.append('\b'); break;
            case 'f': b.append('\f'); break;
            case 'u':
                b.append((char) Integer.parseInt(s.substring(pos, pos + 4), 16));
                pos += 4;
                break;
            default: b.append(e);
            }
        }
        throw error("unterminated string");
    }

    private void space() {
        while (pos < s.length() && Character.isWhitespace(s.charAt(pos)))
            ++pos;
    }

    private boolean peek(char c) {
        if (pos < s.length() && s.charAt(pos) == c) {
            ++pos;
            return true;
        }
        return false;
    }

    private void expect(char c) {
        if (!peek(c))
            throw error("expected " + c);
    }

    private IllegalArgumentException error(String what) {
        return new IllegalArgumentException("JSON: " + what + " at " + pos);
    }
}
