# start-up timing
