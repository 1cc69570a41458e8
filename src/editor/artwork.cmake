# The program's glyphs and logo, drawn at run time (artwork.h).
target_sources(quillmap_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/artwork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/artwork.h
)
