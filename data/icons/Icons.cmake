# The dialogs' icons by resource number (the number the dialogs load them by) and drawing
# (data/icons/NAME.svg, on a 16 x 16 grid). Linux compiles the drawings into Qt resources; Windows
# makes .ico files of them (make-ico.sh) for the library's icon resources.
set(ATMOCALC_ICONS
  102 plugin
  104 add
  105 remove
  106 remove-all
  107 open
  111 reload
  112 settings
  114 components
  117 report
  119 about
)
