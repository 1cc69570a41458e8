package qmharness;

import java.applet.Applet;
import java.awt.Component;
import java.awt.Container;
import java.awt.EventQueue;
import java.awt.Frame;
import java.awt.Point;
import java.awt.Rectangle;
import java.awt.Robot;
import java.awt.Toolkit;
import java.awt.event.InputEvent;
import java.awt.image.BufferedImage;
import java.io.File;
import java.lang.reflect.InvocationTargetException;
import java.net.URL;
import java.net.URLClassLoader;
import java.util.ArrayList;
import java.util.List;

/**
 * Runs one applet block as a browser's applet runner does: the applet's
 * classes come from the archive the block names, the applet sits in a window
 * of its declared size, gets init and start, and is then driven with the real
 * pointer through the X server. Pixels are read back from the screen.
 */
public final class AppletHost implements AutoCloseable {
    /** Where the applet's window sits on the screen. */
    public static final int SCREEN_X = 40;
    public static final int SCREEN_Y = 30;

    public final BlockParser block;
    public final StubContext context;
    public final Applet applet;
    private final Frame frame;
    private final Robot robot;
    private final URLClassLoader loader;

    /**
     * @param archive the applet archive (quillmap.zip)
     * @param documentBase the page the block sits in; pictures load relative to it
     */
    public AppletHost(String html, File archive, URL documentBase) throws Exception {
        block = BlockParser.parse(html);
        if (!"quillmap.class".equals(block.appletAttributes.get("code")))
            throw new IllegalArgumentException("the block's code is not quillmap.class");
        context = new StubContext(documentBase, block.params);
        robot = new Robot();
        robot.setAutoDelay(0);
        parkPointer();
        loader = new URLClassLoader(new URL[] {archive.toURI().toURL()}, AppletHost.class.getClassLoader());
        final Class<?> cls = Class.forName("quillmap", true, loader);

        final Applet[] made = new Applet[1];
        final Frame[] f = new Frame[1];
        final int w = block.width();
        final int h = block.height();
        onEventThread(new Runnable() {
            public void run() {
                try {
                    made[0] = (Applet) cls.getDeclaredConstructor().newInstance();
                } catch (ReflectiveOperationException e) {
                    throw new RuntimeException(e);
                }
                f[0] = new Frame("applet");
                f[0].setUndecorated(true);
                f[0].setLayout(null);
                made[0].setStub(context);
                made[0].setBounds(0, 0, w, h);
                f[0].add(made[0]);
                f[0].setBounds(SCREEN_X, SCREEN_Y, w, h);
                f[0].setVisible(true);
            }
        });
        applet = made[0];
        frame = f[0];
        context.setApplet(applet);
        // The runner calls init and start on its own thread, not the event
        // thread.
        applet.init();
        applet.start();
        onEventThread(new Runnable() {
            public void run() {
                applet.validate();
                applet.repaint();
            }
        });
        settle();
    }

    /** The pointer well away from the applet's window. */
    public void parkPointer() {
        robot.mouseMove(2, 2);
    }

    /** Moves the pointer to a point of the applet and waits until the screen is still. */
    public BufferedImage hover(int x, int y) {
        robot.mouseMove(SCREEN_X + x, SCREEN_Y + y);
        return settle();
    }

    public BufferedImage leave() {
        parkPointer();
        return settle();
    }

    /** A left click at a point of the applet. */
    public BufferedImage click(int x, int y) {
        robot.mouseMove(SCREEN_X + x, SCREEN_Y + y);
        robot.waitForIdle();
        robot.mousePress(InputEvent.BUTTON1_DOWN_MASK);
        robot.mouseRelease(InputEvent.BUTTON1_DOWN_MASK);
        return settle();
    }

    public BufferedImage capture() {
        return robot.createScreenCapture(new Rectangle(SCREEN_X, SCREEN_Y, block.width(), block.height()));
    }

    /**
     * Waits until the events are handled and two captures in a row agree, so
     * a check never looks at a half-finished repaint.
     */
    public BufferedImage settle() {
        BufferedImage last = null;
        for (int i = 0; i < 60; ++i) {
            Toolkit.getDefaultToolkit().sync();
            robot.waitForIdle();
            robot.delay(i == 0 ? 30 : 20);
            BufferedImage now = capture();
            if (last != null && Pixels.same(last, now))
                return now;
            last = now;
        }
        return last;
    }

    /** Rectangles of the Title, the Blurb and each button, in applet coordinates. */
    public Layout layout() {
        final Layout out = new Layout();
        out.width = applet.getWidth();
        out.height = applet.getHeight();
        onEventThread(new Runnable() {
            public void run() {
                collect(applet, out);
            }
        });
        return out;
    }

    private void collect(Container c, Layout out) {
        for (Component child : c.getComponents()) {
            if (!child.isVisible())
                continue;
            String name = child.getName() == null ? "" : child.getName();
            Rectangle r = child.getBounds();
            Point p = relativeToApplet(child);
            r.setLocation(p);
            if (name.equals("title"))
                out.title = r;
            else if (name.equals("blurb"))
                out.blurb = r;
            else if (name.matches("button[0-9]+")) {
                int n = Integer.parseInt(name.substring(6));
                while (out.buttons.size() < n)
                    out.buttons.add(null);
                out.buttons.set(n - 1, r);
            }
            if (child instanceof Container)
                collect((Container) child, out);
        }
    }

    private Point relativeToApplet(Component c) {
        int x = 0, y = 0;
        for (Component k = c; k != null && k != applet; k = k.getParent()) {
            x += k.getX();
            y += k.getY();
        }
        return new Point(x, y);
    }

    public void close() {
        try {
            applet.stop();
            applet.destroy();
        } finally {
            onEventThread(new Runnable() {
                public void run() {
                    frame.dispose();
                }
            });
            try {
                loader.close();
            } catch (java.io.IOException e) {
                // Nothing to keep.
            }
        }
    }

    static void onEventThread(Runnable r) {
        try {
            if (EventQueue.isDispatchThread())
                r.run();
            else
                EventQueue.invokeAndWait(r);
        } catch (InterruptedException e) {
            throw new RuntimeException(e);
        } catch (InvocationTargetException e) {
            Throwable t = e.getCause();
            if (t instanceof RuntimeException)
                throw (RuntimeException) t;
            throw new RuntimeException(t);
        }
    }

    /** The laid-out rectangles; title and blurb null when not shown. */
    public static final class Layout {
        public int width;
        public int height;
        public Rectangle title;
        public Rectangle blurb;
        public final List<Rectangle> buttons = new ArrayList<Rectangle>();

        public String toJson() {
            StringBuilder b = new StringBuilder();
            b.append("{\"width\":").append(width).append(",\"height\":").append(height);
            b.append(",\"title\":").append(json(title));
            b.append(",\"blurb\":").append(json(blurb));
            b.append(",\"buttons\":[");
            for (int i = 0; i < buttons.size(); ++i) {
                if (i > 0)
                    b.append(',');
                b.append(json(buttons.get(i)));
            }
            return b.append("]}").toString();
        }

        static String json(Rectangle r) {
            if (r == null)
                return "null";
            return "{\"left\":" + r.x + ",\"top\":" + r.y + ",\"width\":" + r.width + ",\"height\":" + r.height + "}";
        }
    }
}
