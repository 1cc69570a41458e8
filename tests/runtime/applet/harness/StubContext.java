package qmharness;

import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AppletStub;
import java.applet.AudioClip;
import java.awt.Image;
import java.awt.Toolkit;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.net.URISyntaxException;
import java.net.URL;
import java.util.ArrayList;
import java.util.Collections;
import java.util.Enumeration;
import java.util.Iterator;
import java.util.List;
import java.util.Map;
import java.util.Vector;

/**
 * The page around the applet: its parameters and document base, and an
 * applet context that records the documents and sounds the applet asks for
 * instead of opening or playing them.
 */
public final class StubContext implements AppletStub, AppletContext {
    /** One showDocument request. */
    public static final class Shown {
        public final URL url;
        public final String target; // null for showDocument(url)

        Shown(URL url, String target) {
            this.url = url;
            this.target = target;
        }

        public String toString() {
            return url + (target == null ? "" : " in " + target);
        }
    }

    private final URL documentBase;
    private final Map<String, String> params;
    private Applet applet;

    public final List<Shown> shown = Collections.synchronizedList(new ArrayList<Shown>());
    /** Sounds played, by URL, in order. */
    public final List<URL> played = Collections.synchronizedList(new ArrayList<URL>());
    /** Every sound URL the applet asked for, found or not. */
    public final List<URL> soundRequests = Collections.synchronizedList(new ArrayList<URL>());
    public volatile String status = "";

    public StubContext(URL documentBase, Map<String, String> lowerCaseParams) {
        this.documentBase = documentBase;
        this.params = lowerCaseParams;
    }

    void setApplet(Applet a) {
        applet = a;
    }

    // --- AppletStub ---------------------------------------------------------

    public boolean isActive() {
        return true;
    }

    public URL getDocumentBase() {
        return documentBase;
    }

    public URL getCodeBase() {
        return documentBase;
    }

    /** Names are matched without regard to case, as the applet runner did. */
    public String getParameter(String name) {
        return params.get(name.toLowerCase(java.util.Locale.ROOT));
    }

    public AppletContext getAppletContext() {
        return this;
    }

    public void appletResize(int width, int height) {
    }

    // --- AppletContext ------------------------------------------------------

    /** A clip for a file that exists; none, as some runners give, otherwise. */
    public AudioClip getAudioClip(URL url) {
        soundRequests.add(url);
        if (!exists(url))
            return null;
        return new RecordingClip(url);
    }

    public Image getImage(URL url) {
        return Toolkit.getDefaultToolkit().createImage(url);
    }

    public Applet getApplet(String name) {
        return null;
    }

    public Enumeration<Applet> getApplets() {
        Vector<Applet> v = new Vector<Applet>();
        if (applet != null)
            v.add(applet);
        return v.elements();
    }

    public void showDocument(URL url) {
        shown.add(new Shown(url, null));
    }

    public void showDocument(URL url, String target) {
        shown.add(new Shown(url, target));
    }

    public void showStatus(String s) {
        status = s;
    }

    public void setStream(String key, InputStream stream) throws IOException {
    }

    public InputStream getStream(String key) {
        return null;
    }

    public Iterator<String> getStreamKeys() {
        return Collections.<String>emptyList().iterator();
    }

    static boolean exists(URL url) {
        if (!"file".equals(url.getProtocol()))
            return false;
        try {
            return new File(url.toURI()).isFile();
        } catch (URISyntaxException | IllegalArgumentException e) {
            return false;
        }
    }

    private final class RecordingClip implements AudioClip {
        private final URL url;

        RecordingClip(URL url) {
            this.url = url;
        }

        public void play() {
            played.add(url);
        }

        public void loop() {
            played.add(url);
        }

        public void stop() {
        }
    }
}
