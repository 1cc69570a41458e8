// The menu applet. It reads the design from its parameters, lays out the
// Title, the Blurb and the buttons at the pixel rectangles the editor gave
// them, and repaints through one off-screen picture so that a picture swap
// never flickers.
//
// The class files must stay exactly the six that the program copies beside
// a page, so no class here has inner or anonymous classes: each class is its
// own listener.

import java.applet.Applet;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.GraphicsEnvironment;
import java.awt.Image;
import java.awt.Rectangle;
import java.net.MalformedURLException;
import java.net.URL;

public class quillmap extends Applet {
    private static final long serialVersionUID = 1L;

    Color tableColor = Color.black;
    Color textColor = Color.white;
    boolean centerImages;

    loadall loader;
    header title;
    mainarea blurb;
    buttbox buttons;

    private Image buffer;
    private int bufferWidth;
    private int bufferHeight;

    public void init() {
        setLayout(null);
        tableColor = colour(param("table_color"), Color.black);
        textColor = colour(param("text_color"), Color.white);
        setBackground(tableColor);
        setForeground(textColor);
        centerImages = "true".equals(param("defcenter").trim());

        loader = new loadall(this);
        collectPictures();
        loader.loadPictures();

        // The buttons lie above the Title and the Blurb, as in the editor.
        buttons = new buttbox(this);
        buttons.setBounds(0, 0, getSize().width, getSize().height);
        add(buttons);

        title = new header(font(param("head_font"), param("head_style"), number(param("head_size"))),
                           textColor, param("deftag"));
        blurb = new mainarea(this, font(param("mainbox_font"), param("mainbox_style"), number(param("mainbox_size"))),
                             textColor, lines(param("defmaintext")), loader.picture(param("defimg")));
        Rectangle head = rectangle("head_");
        Rectangle main = rectangle("mainbox_");
        title.setBounds(head);
        blurb.setBounds(main);
        // A design without Title and Blurb gives both 1-pixel rectangles:
        // there is nothing to show there.
        if (shows(head))
            add(title);
        if (shows(main))
            add(blurb);

        for (int n = 1; getParameter("left" + n) != null; ++n)
            buttons.addButton(makeButton(n));
    }

    // The button area spans the whole applet, so button rectangles are
    // applet coordinates.
    public void doLayout() {
        if (buttons != null)
            buttons.setBounds(0, 0, getSize().width, getSize().height);
    }

    public void start() {
        buttons.reset();
    }

    public void stop() {
        buttons.reset();
    }

    public void destroy() {
        if (buffer != null)
            buffer.flush();
        buffer = null;
    }

    public String getAppletInfo() {
        return "Quillmap rollover menu";
    }

    public String[][] getParameterInfo() {
        return new String[][] {
            {"table_color", "RRGGBB", "background colour"},
            {"text_color", "RRGGBB", "colour of the Title and Blurb"},
            {"head_left, head_top, head_width, head_height", "int", "Title rectangle"},
            {"head_font, head_style, head_size", "name, style, pixels", "Title font"},
            {"mainbox_left, mainbox_top, mainbox_width, mainbox_height", "int", "Blurb rectangle"},
            {"mainbox_font, mainbox_style, mainbox_size", "name, style, pixels", "Blurb font"},
            {"deftag", "text", "Title when the mouse is over no button"},
            {"defmaintext", "lines separated by |", "Blurb when the mouse is over no button"},
            {"defimg", "URL", "Blurb picture when the mouse is over no button"},
            {"defcenter", "true/false", "centre Blurb pictures instead of stretching them"},
            {"leftN, topN, widthN, heightN", "int", "rectangle of button N"},
            {"imgN, rollOverImgN", "URL", "pictures of button N"},
            {"tagN, blurbN, imageCenterN", "text, lines, URL", "Title and Blurb while over button N"},
            {"URLN", "address,target", "link of button N"},
            {"soundN", "URL", "AU sound played when the mouse enters button N"},
        };
    }

    // Every byte is drawn into the off-screen picture first; the background
    // is never cleared on its own.
    public void update(Graphics g) {
        paint(g);
    }

    public void paint(Graphics g) {
        Dimension size = getSize();
        if (size.width <= 0 || size.height <= 0)
            return;
        if (buffer == null || bufferWidth != size.width || bufferHeight != size.height) {
            if (buffer != null)
                buffer.flush();
            buffer = createImage(size.width, size.height);
            bufferWidth = size.width;
            bufferHeight = size.height;
        }
        if (buffer == null) {
            // No off-screen picture (not displayable yet): draw directly.
            drawAll(g, size);
            return;
        }
        Graphics off = buffer.getGraphics();
        Rectangle clip = g.getClipBounds();
        if (clip != null)
            off.clipRect(clip.x, clip.y, clip.width, clip.height);
        drawAll(off, size);
        off.dispose();
        g.drawImage(buffer, 0, 0, this);
    }

    private void drawAll(Graphics g, Dimension size) {
        g.setColor(tableColor);
        g.fillRect(0, 0, size.width, size.height);
        super.paint(g);
    }

    // --- Hover and click, called by the button area --------------------

    void showButton(mbutt b) {
        title.setText(b.tag);
        Image picture = loader.picture(b.centerImage);
        if (picture != null)
            blurb.showPicture(picture);
        else
            blurb.showLines(b.blurbLines);
    }

    void showDefaults() {
        title.setText(param("deftag"));
        Image picture = loader.picture(param("defimg"));
        if (picture != null)
            blurb.showPicture(picture);
        else
            blurb.showLines(lines(param("defmaintext")));
    }

    // Follows a link written as "address,target": the target is the text
    // after the last comma, since an address may itself hold commas.
    void follow(String link) {
        String address = link;
        String target = "";
        int comma = link.lastIndexOf(',');
        if (comma >= 0) {
            address = link.substring(0, comma);
            target = link.substring(comma + 1);
        }
        address = address.trim();
        target = target.trim();
        // A button without an address has no link; reloading the page
        // instead would surprise the visitor.
        if (address.length() == 0)
            return;
        URL url;
        try {
            url = new URL(getDocumentBase(), address);
        } catch (MalformedURLException e) {
            showStatus("Cannot follow " + address);
            return;
        }
        if (target.length() == 0)
            getAppletContext().showDocument(url);
        else
            getAppletContext().showDocument(url, target);
    }

    // --- Parameters ------------------------------------------------------

    private void collectPictures() {
        loader.want(param("defimg"));
        for (int n = 1; getParameter("left" + n) != null; ++n) {
            loader.want(param("img" + n));
            loader.want(param("rollOverImg" + n));
            loader.want(param("imageCenter" + n));
        }
    }

    private mbutt makeButton(int n) {
        mbutt b = new mbutt(buttons, n);
        b.setBounds(number(param("left" + n)), number(param("top" + n)),
                    number(param("width" + n)), number(param("height" + n)));
        b.normal = loader.picture(param("img" + n));
        b.over = loader.picture(param("rollOverImg" + n));
        b.tag = param("tag" + n);
        b.blurbLines = lines(param("blurb" + n));
        b.centerImage = param("imageCenter" + n);
        b.sound = loader.sound(param("sound" + n));
        b.link = param("URL" + n);
        return b;
    }

    // A parameter's value as the page gives it; an absent one is empty.
    String param(String name) {
        String v = getParameter(name);
        return v == null ? "" : v;
    }

    private Rectangle rectangle(String prefix) {
        return new Rectangle(number(param(prefix + "left")), number(param(prefix + "top")),
                             number(param(prefix + "width")), number(param(prefix + "height")));
    }

    private static boolean shows(Rectangle r) {
        return r.width > 1 && r.height > 1;
    }

    static int number(String s) {
        try {
            return Integer.parseInt(s.trim());
        } catch (NumberFormatException e) {
            return 0;
        }
    }

    static Color colour(String s, Color fallback) {
        String hex = s.trim();
        if (hex.startsWith("#"))
            hex = hex.substring(1);
        if (hex.length() != 6)
            return fallback;
        try {
            return new Color(Integer.parseInt(hex, 16));
        } catch (NumberFormatException e) {
            return fallback;
        }
    }

    // Display lines come separated by "|", each exactly as the editor showed
    // it. The page may carry the line ends of the source around the bars;
    // those belong to the markup, not to the text.
    static String[] lines(String value) {
        int count = 1;
        for (int i = 0; i < value.length(); ++i)
            if (value.charAt(i) == '|')
                ++count;
        String[] out = new String[count];
        int start = 0;
        for (int k = 0; k < count; ++k) {
            int bar = value.indexOf('|', start);
            int end = bar < 0 ? value.length() : bar;
            out[k] = stripLineEnd(value.substring(start, end));
            start = end + 1;
        }
        return out;
    }

    private static String stripLineEnd(String s) {
        int end = s.length();
        if (end > 0 && s.charAt(end - 1) == '\n')
            --end;
        if (end > 0 && s.charAt(end - 1) == '\r')
            --end;
        return s.substring(0, end);
    }

    // Faces that stand for the applet's font names, best first, then the
    // logical font. The first is the face the editor lays the Title and Blurb
    // out in, so every line it fitted into its box fits here too; the faces
    // after it have the same metrics (Times New Roman, Arial and Courier New,
    // where menus were first designed). Other faces, such as the logical
    // fonts of some systems, are wider and would cut lines.
    private static final String[][] FACES = {
        {"timesroman", "Liberation Serif", "Times New Roman", "Tinos", "Times", "Serif"},
        {"helvetica", "Liberation Sans", "Arial", "Arimo", "Helvetica", "SansSerif"},
        {"courier", "Liberation Mono", "Courier New", "Cousine", "Courier", "Monospaced"},
        {"dialog", "Liberation Sans", "Arial", "Arimo", "Helvetica", "Dialog"},
        {"symbol", "Liberation Serif", "Times New Roman", "Tinos", "Times", "Serif"},
    };

    // Each row's face's ascent, descent and line gap in a 2048-unit em: the
    // editor's step from one line of the Blurb to the next.
    private static final int[][] METRICS = {
        {1825, 443, 87}, {1854, 434, 67}, {1705, 615, 0}, {1854, 434, 67}, {1825, 443, 87},
    };

    private static String[] installedFamilies;

    // The editor's line step for a font: each metric of its face rounded to
    // 1/64 pixel, the sum rounded up. A face of no row steps as it says.
    static int lineStep(Font font, FontMetrics fm) {
        for (int r = 0; r < FACES.length; ++r)
            for (int w = 1; w < FACES[r].length - 1; ++w)
                if (FACES[r][w].equalsIgnoreCase(font.getFamily())) {
                    long sum = 0;
                    for (int m = 0; m < 3; ++m)
                        sum += ((long) METRICS[r][m] * font.getSize() * 64 + 1024) / 2048;
                    return (int) ((sum + 63) / 64);
                }
        return fm.getHeight();
    }

    static Font font(String name, String style, int size) {
        String[] faces = FACES[0];
        for (int i = 0; i < FACES.length; ++i)
            if (FACES[i][0].equals(name))
                faces = FACES[i];
        String family = installed(faces);
        int s = Font.PLAIN;
        if ("bold".equals(style))
            s = Font.BOLD;
        else if ("italic".equals(style))
            s = Font.ITALIC;
        else if ("bold+italic".equals(style))
            s = Font.BOLD | Font.ITALIC;
        return new Font(family, s, Math.max(1, size));
    }

    // The first of a name's faces that is installed, else its logical font.
    private static synchronized String installed(String[] faces) {
        if (installedFamilies == null) {
            try {
                installedFamilies = GraphicsEnvironment.getLocalGraphicsEnvironment().getAvailableFontFamilyNames();
            } catch (RuntimeException e) {
                installedFamilies = new String[0];
            }
        }
        for (int w = 1; w < faces.length - 1; ++w)
            for (int i = 0; i < installedFamilies.length; ++i)
                if (installedFamilies[i].equalsIgnoreCase(faces[w]))
                    return installedFamilies[i];
        return faces[faces.length - 1];
    }
}
