// Loads the menu's pictures and sounds, relative to the page that holds the
// applet. Every picture is fetched once, all together, and waited for with a
// media tracker before the menu is first shown, so a hover never waits for
// the network. A picture or sound that cannot be had is simply absent: the
// rest of the menu works without it.

import java.applet.Applet;
import java.applet.AudioClip;
import java.awt.Image;
import java.awt.MediaTracker;
import java.net.MalformedURLException;
import java.net.URL;
import java.util.Enumeration;
import java.util.Hashtable;

public class loadall {
    // How long the first showing waits for the pictures. One that is still
    // on its way after that is drawn when it arrives.
    static final long WAIT_MS = 20000;

    private final Applet applet;
    private final MediaTracker tracker;
    private final Hashtable<String, Image> pictures = new Hashtable<String, Image>();
    private final Hashtable<String, Integer> ids = new Hashtable<String, Integer>();
    // A name whose sound could not be had maps to the name itself.
    private final Hashtable<String, Object> sounds = new Hashtable<String, Object>();
    private int nextId;

    public loadall(Applet applet) {
        this.applet = applet;
        this.tracker = new MediaTracker(applet);
    }

    // Asks for a picture; the same name is fetched only once.
    public void want(String name) {
        if (name.length() == 0 || ids.containsKey(name))
            return;
        URL url = locate(name);
        Image image = null;
        if (url != null) {
            try {
                image = applet.getImage(url);
            } catch (RuntimeException e) {
                image = null;
            }
        }
        ids.put(name, Integer.valueOf(nextId));
        if (image != null) {
            pictures.put(name, image);
            tracker.addImage(image, nextId);
        }
        ++nextId;
    }

    // Fetches every picture asked for and drops those that failed.
    public void loadPictures() {
        try {
            tracker.waitForAll(WAIT_MS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
        for (Enumeration<String> e = ids.keys(); e.hasMoreElements();) {
            String name = e.nextElement();
            int id = ids.get(name).intValue();
            if (tracker.isErrorID(id)) {
                Image image = pictures.remove(name);
                if (image != null)
                    tracker.removeImage(image);
            }
        }
    }

    // The picture of that name, or null when there is none.
    public Image picture(String name) {
        if (name == null || name.length() == 0)
            return null;
        return pictures.get(name);
    }

    // The sound of that name, or null; each name is fetched once.
    public AudioClip sound(String name) {
        if (name == null || name.length() == 0)
            return null;
        if (sounds.containsKey(name)) {
            Object clip = sounds.get(name);
            return clip instanceof AudioClip ? (AudioClip) clip : null;
        }
        AudioClip clip = null;
        URL url = locate(name);
        if (url != null) {
            try {
                clip = applet.getAudioClip(url);
            } catch (RuntimeException e) {
                clip = null;
            }
        }
        // Remember a failure too, so it is not tried again.
        if (clip != null)
            sounds.put(name, clip);
        else
            sounds.put(name, name);
        return clip;
    }

    // A name relative to the page. Names come from file paths and may hold
    // blanks, which a URL must not.
    private URL locate(String name) {
        StringBuffer b = new StringBuffer();
        for (int i = 0; i < name.length(); ++i) {
            char c = name.charAt(i);
            if (c == ' ')
                b.append("%20");
            else
                b.append(c);
        }
        try {
            return new URL(applet.getDocumentBase(), b.toString());
        } catch (MalformedURLException e) {
            return null;
        }
    }
}
