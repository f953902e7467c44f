# cmake/icon.cmake — the program's icon file from its one drawing: each size Windows asks
# for at the usual display scales (16 to 48 pixels) and Explorer's largest (256, stored
# as PNG), each rendered from the drawing itself rather than shrunk from another.
#   cmake -DMAGICK=<ImageMagick's convert or magick> -DDRAWING=<.mvg> -DOUT=<.ico> -P icon.cmake
file(READ ${DRAWING} drawing)
get_filename_component(dir ${OUT} DIRECTORY)
set(pngs)
foreach(size 16 20 24 32 40 48 256)
  # The drawing is 256 units square: scale it by size / 256, written out in decimals.
  math(EXPR millionths "${size} * 1000000 / 256")
  math(EXPR whole "${millionths} / 1000000")
  math(EXPR part "${millionths} % 1000000 + 1000000")
  string(SUBSTRING ${part} 1 6 part)
  set(png ${dir}/icon-${size}.png)
  # No time stamps, so that the same drawing gives the same bytes.
  execute_process(COMMAND ${MAGICK} -size ${size}x${size} xc:none -affine ${whole}.${part},0,0,${whole}.${part},0,0
                          -draw "${drawing}" -define png:exclude-chunks=date,time PNG32:${png}
                  COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND pngs ${png})
endforeach()
execute_process(COMMAND ${MAGICK} ${pngs} ${OUT} COMMAND_ERROR_IS_FATAL ANY)
