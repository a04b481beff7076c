;;; flyspell-test.el --- Emacs's flyspell and ispell.el driving `spellcheck -a'  -*- lexical-binding: t -*-

;; Run: emacs --batch -Q -l flyspell-test.el TOOL SCRATCH
;;
;; TOOL is the spellcheck program; SCRATCH a folder the test may fill and
;; empty (it becomes HOME and holds the custom dictionary).  The main
;; dictionary is the tool's default (the bundled one beside the program, or
;; $SPELLCHECK_MAIN).  Exit status: 0 and a PASS line when every check holds,
;; 1 with a FAIL line when one does not, 3 when something hangs.
;;
;; Checked: ispell.el accepts the -vv banner; `flyspell-buffer' marks the
;; misspelled words and only them; the first suggestion for "Teh" is "The"
;; and `flyspell-auto-correct-word' applies it; "*word" then "#" puts a word
;; in the custom dictionary file and "@word" only into the session, both
;; correct on the next pass; end of input ends the tool with status 0;
;; accented words and character offsets through a UTF-8 dictionary entry;
;; ispell.el's "-p FILE" word list is written as text.
;; A buffer above `flyspell-large-region' (1000 characters) is checked
;; through -l, the list mode.

(require 'ispell)
(require 'flyspell)

(defconst flyspell-test-timeout 15
  "Seconds after which the test gives up.")

(run-with-timer flyspell-test-timeout nil
                (lambda ()
                  (princ (format "FAIL flyspell: timed out after %d s\n"
                                 flyspell-test-timeout)
                         #'external-debugging-output)
                  (kill-emacs 3)))

(defun flyspell-test-fail (format-string &rest args)
  "Report a failed check and leave with exit status 1."
  (princ (concat "FAIL flyspell: " (apply #'format format-string args) "\n")
         #'external-debugging-output)
  (kill-emacs 1))

(defun flyspell-test-check (condition format-string &rest args)
  (unless condition (apply #'flyspell-test-fail format-string args)))

(defconst flyspell-test-text
  "Teh qiuck brown fox jumsp over the lazy dgo.
This sentense is correct apart from that.
")

(defun flyspell-test-marked-words ()
  "The words of the current buffer that flyspell marked, in order.
Fails when an overlay carries any face but `flyspell-incorrect'."
  (let (words)
    (dolist (overlay (overlays-in (point-min) (point-max)))
      (when (overlay-get overlay 'flyspell-overlay)
        (flyspell-test-check (eq (overlay-get overlay 'face) 'flyspell-incorrect)
                             "overlay on %S has face %S, not flyspell-incorrect"
                             (buffer-substring-no-properties
                              (overlay-start overlay) (overlay-end overlay))
                             (overlay-get overlay 'face))
        (push (cons (overlay-start overlay)
                    (buffer-substring-no-properties
                     (overlay-start overlay) (overlay-end overlay)))
              words)))
    (mapcar #'cdr (sort words (lambda (a b) (< (car a) (car b)))))))

(defun flyspell-test-ask (line)
  "Send LINE to the ispell process the way flyspell does; the parsed answers.
One for each word, in order: t when correct, (WORD OFFSET SUGGESTIONS
GUESSES) when not."
  (setq ispell-filter nil)
  (ispell-send-string "%\n")
  (ispell-send-string (concat "^" line "\n"))
  ;; The answer ends with an empty line.
  (while (progn (ispell-accept-output)
                (not (string= "" (car ispell-filter)))))
  (mapcar #'ispell-parse-output (reverse (cdr ispell-filter))))

(defun flyspell-test-file-contains (file word)
  (with-temp-buffer
    (set-buffer-multibyte nil)
    (insert-file-contents-literally file)
    (goto-char (point-min))
    (search-forward word nil t)))

(defun flyspell-test-run (tool scratch)
  (let* ((scratch (file-name-as-directory (expand-file-name scratch)))
         (custom (expand-file-name "custom.dic" scratch)))
    (when (file-exists-p custom) (delete-file custom))
    (make-directory scratch t)
    ;; Nothing of the user's is read or written: the tool's custom
    ;; dictionary and HOME are in the scratch folder.
    (setenv "HOME" scratch)
    (setenv "XDG_DATA_HOME" (expand-file-name "data" scratch))
    (setenv "SPELLCHECK_CUSTOM" custom)
    (setq default-directory scratch
          ispell-program-name tool
          ispell-dictionary nil
          ispell-local-dictionary nil
          ispell-personal-dictionary nil
          ispell-extra-args nil
          flyspell-issue-message-flag nil
          flyspell-issue-welcome-flag nil)
    (flyspell-test-check (file-executable-p tool) "no program at %s" tool)

    ;; ispell.el takes the version after "Ispell Version" from `-vv'.
    (let ((banner (ispell-check-version t)))
      (flyspell-test-check (and (stringp banner)
                                (string-match-p "Ispell Version 3\\.[0-9.]+" banner))
                           "unexpected -vv banner %S" banner))

    (with-temp-buffer
      (insert flyspell-test-text)
      (text-mode)
      (flyspell-buffer)
      (let ((process ispell-process))
        (flyspell-test-check (process-live-p process) "no ispell process after flyspell-buffer")
        (flyspell-test-check (member "-a" (process-command process))
                             "ispell process not started with -a: %S" (process-command process))

        ;; Exactly the misspelled words are marked.
        (let ((marked (flyspell-test-marked-words)))
          (flyspell-test-check (equal marked '("Teh" "qiuck" "jumsp" "dgo" "sentense"))
                               "first pass marked %S" marked))

        ;; Suggestions come ranked, best first.
        (let ((answer (car (flyspell-test-ask "Teh"))))
          (flyspell-test-check (consp answer) "Teh not reported as misspelled: %S" answer)
          (flyspell-test-check (equal (car (nth 2 answer)) "The")
                               "first suggestion for Teh is %S, not \"The\" (all: %S)"
                               (car (nth 2 answer)) (nth 2 answer)))
        (flyspell-test-check (equal (flyspell-test-ask "brown") '(t)) "brown not correct")

        ;; flyspell's own correction command takes the first suggestion.
        (goto-char (point-min))
        (forward-word 1)
        (flyspell-auto-correct-word)
        (flyspell-test-check (string-prefix-p "The qiuck " (buffer-string))
                             "flyspell-auto-correct-word gave %S"
                             (car (split-string (buffer-string) "\n")))

        ;; Into the personal dictionary, as ispell.el's "i" choice does, and
        ;; saved with "#"; accepted for the session only, as its "a" choice.
        (ispell-send-string "*qiuck\n")
        (setq ispell-pdict-modified-p '(t))
        (ispell-pdict-save t t)
        (ispell-send-string "@jumsp\n")
        (flyspell-buffer)
        (flyspell-test-check (eq ispell-process process) "ispell process restarted")
        (let ((marked (flyspell-test-marked-words)))
          (flyspell-test-check (equal marked '("dgo" "sentense"))
                               "second pass marked %S" marked))
        (flyspell-test-check (flyspell-test-file-contains custom "qiuck")
                             "qiuck not in the custom dictionary %s" custom)
        (flyspell-test-check (not (flyspell-test-file-contains custom "jumsp"))
                             "the session word jumsp was written to %s" custom)

        ;; End of input ends the tool with status 0.
        (process-send-eof process)
        (while (process-live-p process)
          (accept-process-output process 0.1))
        (flyspell-test-check (and (eq (process-status process) 'exit)
                                  (= (process-exit-status process) 0))
                             "ispell process ended with %S %S"
                             (process-status process) (process-exit-status process))
        ;; ispell.el then finds no process left to kill.
        (flyspell-test-check (ispell-kill-ispell t) "ispell-kill-ispell found a process running")
        (flyspell-test-check (flyspell-test-file-contains custom "qiuck")
                             "qiuck lost from %s at exit" custom)))

    ;; Accented words, through a dictionary entry that speaks UTF-8 (the
    ;; default entry knows only A-Z and Latin-1).  Its name reaches the tool
    ;; as "-d spellcheck-utf8", which names no file and so changes nothing.
    (setq ispell-local-dictionary-alist
          '(("spellcheck-utf8" "[[:alpha:]]" "[^[:alpha:]]" "['’]" t nil nil utf-8))
          ispell-dictionary "spellcheck-utf8")
    (with-temp-buffer
      (insert "The café served a soufflé flambé; the cafë did not.\n")
      (text-mode)
      (flyspell-buffer)
      (flyspell-test-check (eq (car (process-coding-system ispell-process)) 'utf-8-unix)
                           "pipe coding is %S, not UTF-8" (process-coding-system ispell-process))
      (let ((marked (flyspell-test-marked-words)))
        (flyspell-test-check (equal marked '("cafë")) "accented text marked %S" marked))
      ;; Offsets count characters, as Emacs does.
      (let ((answer (flyspell-test-ask "soufflé cafë")))
        (flyspell-test-check (and (eq (car answer) t) (consp (cadr answer))
                                  (equal (car (cadr answer)) "cafë")
                                  (= (nth 1 (cadr answer)) 9))
                             "soufflé cafë answered %S" answer))
      (ispell-kill-ispell t))

    ;; ispell.el's own personal word list ("-p FILE"): a text file, one word
    ;; a line, apart from the custom dictionary.
    (let ((words (expand-file-name "ispell-words" scratch)))
      (when (file-exists-p words) (delete-file words))
      (setq ispell-dictionary nil
            ispell-personal-dictionary words)
      (with-temp-buffer
        (insert "Teh lazy dgo.\n")
        (text-mode)
        (flyspell-buffer)
        (flyspell-test-check (member words (process-command ispell-process))
                             "no -p %s in %S" words (process-command ispell-process))
        (let ((marked (flyspell-test-marked-words)))
          (flyspell-test-check (equal marked '("Teh" "dgo")) "before -p insert marked %S" marked))
        (ispell-send-string "*dgo\n")
        (setq ispell-pdict-modified-p '(t))
        (ispell-pdict-save t t)
        (flyspell-buffer)
        (let ((marked (flyspell-test-marked-words)))
          (flyspell-test-check (equal marked '("Teh")) "after -p insert marked %S" marked))
        (let ((text (with-temp-buffer (insert-file-contents words) (buffer-string))))
          (flyspell-test-check (equal text "dgo\n") "personal word list %s holds %S" words text))
        (flyspell-test-check (not (flyspell-test-file-contains custom "dgo"))
                             "dgo went to the custom dictionary too")
        ;; Above `flyspell-large-region' flyspell has the program list the
        ;; misspelled words of the whole region (-l), then marks them.
        (erase-buffer)
        (dotimes (_ 60) (insert "The brown fox jumped. "))
        (insert "Teh zqxwv.\n")
        (flyspell-buffer)
        (let ((marked (flyspell-test-marked-words)))
          (flyspell-test-check (equal marked '("Teh" "zqxwv")) "large region marked %S" marked))
        (ispell-kill-ispell t)))))

(let ((tool (pop command-line-args-left))
      (scratch (pop command-line-args-left)))
  (unless (and tool scratch)
    (flyspell-test-fail "usage: emacs --batch -Q -l flyspell-test.el TOOL SCRATCH"))
  (condition-case err
      (flyspell-test-run tool scratch)
    (error (flyspell-test-fail "%s" (error-message-string err))))
  (princ (format "PASS flyspell: %s -a under Emacs %s\n" tool emacs-version))
  (kill-emacs 0))

;;; flyspell-test.el ends here
